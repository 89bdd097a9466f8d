# Sourced by scripts/test.sh: the chaos run of the win64 build for two minutes (random
# faults of the simulated adapter while a scripted user drives the utility; the Windows
# suite runs the same program for its short default). In a Wine prefix and an Xvfb of its
# own. The seed is the day's unless HX_CHAOS_SEED gives one; a failure prints the line that
# repeats the run.
stage_start "chaos run"
if [ -f build/win64/bin/win_e2e_chaos.exe ] && [[ " ${WINDOWS_BUILDS[*]} " == *" win64 "* ]]; then
    (
        HX_FORCE_XVFB=1 hx_wine_setup build/win64 wineprefix-chaos
        export HX_CHAOS_SEED=${HX_CHAOS_SEED:-$(date -u +%Y%m%d)} HX_CHAOS_SECONDS=${HX_CHAOS_SECONDS:-120}
        HX_RUN_DIR=build/win64/bin HX_XML_PREFIX="Z:" run_gtest win64/chaos-run $((HX_CHAOS_SECONDS + 600)) \
            "$HX_WINE" win_e2e_chaos.exe
        status=$?
        hx_wine_teardown
        exit $status
    ) >"$(hx_result_file win64/chaos-run)-wine.log" 2>&1
    count_gtest win64/chaos-run "$(hx_result_file win64/chaos-run).xml" $?
    grep -E '^(chaos run of|  [0-9]+ probes|  (start|end) \()' "$(hx_result_file win64/chaos-run).log" | sed 's/^/   /'
else
    skip win64/chaos-run "no win64 build here"
fi
stage_end "chaos run"
