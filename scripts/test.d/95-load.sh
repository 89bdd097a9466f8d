# Sourced by scripts/test.sh after the lanes, when HX_LOAD_TEST is set: the whole Windows suite
# of each build that runs here, three times in a row, the builds side by side as in their
# lanes, with two busy loops of ours at normal priority beside them all the while. Results are
# named load<round>/<preset>/<program>. A test that passes alone and fails here waits on the
# wall clock where it should wait for an event.
load_lane() {  # load_lane <preset>
    local round lane_xvfb
    preset=$1
    hx_xvfb_start
    lane_xvfb=$HX_XVFB_STARTED
    for round in 1 2 3; do
        hx_wine_fresh_prefix "build/$preset/wineprefix-load"
        windows_suite "load$round/" wineprefix-load
    done
    hx_xvfb_stop "$lane_xvfb"
}
if [ -n "${HX_LOAD_TEST:-}" ]; then
    stage_start "load: the Windows suites three times in a row, two busy loops beside them"
    busy_pids=()
    for _ in 1 2; do
        (while :; do :; done) &
        busy_pids+=($!)
    done
    for preset in "${WINDOWS_BUILDS[@]}"; do
        lane_start "load-$preset" load_lane "$preset"
    done
    for preset in "${WINDOWS_BUILDS[@]}"; do
        lane_wait "load-$preset"
    done
    kill "${busy_pids[@]}"
    wait "${busy_pids[@]}" 2>/dev/null
    stage_end
fi
