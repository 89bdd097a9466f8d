# Sourced in each Windows lane of scripts/test.sh: the Windows benchmark of the build (bench/win:
# `hxctl status` against the running utility next to Wine's `reg query`), judged by running
# to its end with both figures, in 5 rounds (enough for that; bench/win's default of 30 is
# for measuring). The figures are printed here and kept in the results folder.
bench_windows() {  # the build's bench_hxctl_status.exe in the lane's prefix
    local out="$RESULTS/$preset-bench_hxctl_status.txt" status
    hx_wine_setup "build/$preset"
    (cd "build/$preset/bin" && "$HX_WINE" bench_hxctl_status.exe 5 </dev/null >"$out" 2>&1)
    status=$?
    hx_wine_teardown
    cat "$out"
    [ "$status" -eq 0 ] && grep -q '^ratio: median [0-9.]*, p90 [0-9.]*' "$out"
}
if lane_runs; then
    stage_start "benchmark of $preset: hxctl status next to reg query"
    check "$preset/bench_hxctl_status" bench_windows
    grep -E '^(hxctl status|reg query|hxctl --help|ratio):' "$RESULTS/$preset-bench_hxctl_status.txt" 2>/dev/null |
        sed "s/^/   /"
    stage_end
else
    lane_skip "$preset/bench_hxctl_status"
fi
