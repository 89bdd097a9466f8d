# Sourced by scripts/test.sh: how long the utility takes from its start to its first shown
# window, next to Wine's Notepad started in turns in the same run (bench/win/
# start_to_window.cpp), on each Windows build that runs here. Judged by running to its end
# with both figures, as the other benchmarks: the machine's load moves the ratio. The
# figures are printed here and kept in the results folder.
start_to_window() {  # start_to_window <preset>
    local out="$RESULTS/$1-bench_start_to_window.txt" status
    hx_wine_setup "build/$1"
    (cd "build/$1/bin" && "$HX_WINE" bench_start_to_window.exe 21 </dev/null >"$out" 2>&1)
    status=$?
    hx_wine_teardown
    cat "$out"
    [ "$status" -eq 0 ] && grep -q '^ratio: median [0-9.]*' "$out"
}

stage_start "start to window"
for preset in win64 win32; do
    if [[ " ${WINDOWS_BUILDS[*]} " != *" $preset "* ]]; then
        skip_32bit "$preset/bench_start_to_window"
        continue
    fi
    check "$preset/bench_start_to_window" start_to_window "$preset"
    grep -E '^(HX88UUtil.exe|notepad.exe|ratio):' "$RESULTS/$preset-bench_start_to_window.txt" 2>/dev/null |
        sed "s/^/   $preset: /"
done
stage_end "start to window"
