# Sourced in the win64 lane of scripts/test.sh: the chaos run for two minutes (random faults
# of the simulated adapter while a scripted user drives the utility; the Windows suite runs
# the same program for its short default). In a Wine prefix and an Xvfb of its own. The
# seed is the day's unless HX_CHAOS_SEED gives one; a failure prints the line that repeats
# the run.
if [ "$preset" = win64 ] && [ -f build/win64/bin/win_e2e_chaos.exe ]; then
    stage_start "chaos run"
    hx_wine_fresh_prefix build/win64/wineprefix-chaos
    HX_FORCE_XVFB=1 hx_wine_setup build/win64 wineprefix-chaos
    HX_CHAOS_SEED=${HX_CHAOS_SEED:-$(date -u +%Y%m%d)} HX_CHAOS_SECONDS=${HX_CHAOS_SECONDS:-120} \
        HX_RUN_DIR=build/win64/bin HX_XML_PREFIX="Z:" run_gtest win64/chaos-run $((${HX_CHAOS_SECONDS:-120} + 600)) \
        "$HX_WINE" win_e2e_chaos.exe
    hx_wine_teardown
    grep -E '^(chaos run of|  [0-9]+ probes|  (start|end) \()' "$(hx_result_file win64/chaos-run).log" | sed 's/^/   /'
    stage_end
fi
