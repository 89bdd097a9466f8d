# Sourced in each Windows lane of scripts/test.sh: the run command's headless tour
# (scripts/run.sh) runs to its end, and makes every picture the README shows from
# docs/screenshots/.
run_command_tour() {
    local out="$RESULTS/screenshots-$preset" picture missing=0
    rm -rf "$out"
    env -u DISPLAY scripts/run.sh --build "$preset" "$out" || return 1
    for picture in $(grep -o 'docs/screenshots/[0-9][0-9]-[a-z0-9-]*\.png' README.md | sort -u); do
        if [ ! -s "$out/$(basename "$picture")" ]; then
            echo "the tour made no $(basename "$picture")"
            missing=1
        fi
        [ -f "$picture" ] || { echo "$picture is not in the repository"; missing=1; }
    done
    return $missing
}
if lane_runs; then
    stage_start "run command on $preset"
    check "$preset/run-command-tour" run_command_tour
    stage_end
else
    lane_skip "$preset/run-command-tour"
fi
