# Sourced by scripts/test.sh: the run command's headless tour (scripts/run.sh) runs to its
# end, and makes every picture the README shows from docs/screenshots/.
echo "== run command"
run_command_tour() {
    local out="$RESULTS/screenshots" picture missing=0
    rm -rf "$out"
    env -u DISPLAY scripts/run.sh "$out" || return 1
    for picture in $(grep -o 'docs/screenshots/[0-9][0-9]-[a-z0-9-]*\.png' README.md | sort -u); do
        if [ ! -s "$out/$(basename "$picture")" ]; then
            echo "the tour made no $(basename "$picture")"
            missing=1
        fi
        [ -f "$picture" ] || { echo "$picture is not in the repository"; missing=1; }
    done
    return $missing
}
check run-command-tour run_command_tour
