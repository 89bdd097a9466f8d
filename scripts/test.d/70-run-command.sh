# Sourced by scripts/test.sh: the run command's headless tour (scripts/run.sh) runs to its
# end on each Windows build that runs here, and makes every picture the README shows from
# docs/screenshots/.
stage_start "run command"
run_command_tour() {  # run_command_tour <preset>
    local out="$RESULTS/screenshots-$1" picture missing=0
    rm -rf "$out"
    env -u DISPLAY scripts/run.sh --build "$1" "$out" || return 1
    for picture in $(grep -o 'docs/screenshots/[0-9][0-9]-[a-z0-9-]*\.png' README.md | sort -u); do
        if [ ! -s "$out/$(basename "$picture")" ]; then
            echo "the tour made no $(basename "$picture")"
            missing=1
        fi
        [ -f "$picture" ] || { echo "$picture is not in the repository"; missing=1; }
    done
    return $missing
}
check win64/run-command-tour run_command_tour win64
if [ -n "$HX_RUNS_32BIT" ]; then
    check win32/run-command-tour run_command_tour win32
else
    skip_32bit win32/run-command-tour
fi
stage_end "run command stage"
