# Sourced in each Windows lane of scripts/test.sh: the Windows benchmarks of the build
# (bench/win), each judged by running to its end with its figures, which are printed here
# and kept in the results folder:
# - `hxctl status` against the running utility next to Wine's `reg query`, 5 rounds (enough
#   for that; its default of 30 is for measuring);
# - the utility's start to its first shown window next to Wine's Notepad and to the window
#   floor (the main dialog from its template alone), in turns, 21 rounds: the machine's
#   load moves all three alike.
bench_windows() {  # bench_windows <program> <rounds>: the build's bench program in the lane's prefix
    local out="$RESULTS/$preset-$1.txt" status
    hx_wine_setup "build/$preset"
    (cd "build/$preset/bin" && "$HX_WINE" "$1.exe" "$2" </dev/null >"$out" 2>&1)
    status=$?
    hx_wine_teardown
    cat "$out"
    [ "$status" -eq 0 ] && grep -q '^ratio: median [0-9.]*' "$out"
}
for bench in "bench_hxctl_status 5 hxctl status|reg query|hxctl --help" \
             "bench_start_to_window 21 HX88UUtil.exe|notepad.exe|bench_window_floor.exe|floor ratio"; do
    read -r program rounds shown <<<"$bench"
    if lane_runs; then
        stage_start "benchmark $program of $preset"
        check "$preset/$program" bench_windows "$program" "$rounds"
        grep -E "^($shown|ratio):" "$RESULTS/$preset-$program.txt" 2>/dev/null | sed "s/^/   /"
        stage_end
    else
        lane_skip "$preset/$program"
    fi
done
