# Sourced in each Windows lane of scripts/test.sh: a program that crashes under Wine is
# counted as failed, and ends by itself within seconds, where a crash dialog would keep it
# until its time limit (every prefix of ours has the dialog off: scripts/wine-env.sh).
crash_under_wine() {
    (
        HX_LEDGER=$(mktemp)
        local began status
        began=$(date +%s)
        hx_wine_setup "build/$preset"
        HX_RUN_DIR="build/$preset/bin" HX_XML_PREFIX="Z:" run_gtest "$preset/selfcheck-crash" 300 "$HX_WINE" \
            selfcheck_counting.exe --gtest_filter='Counting.DISABLED_Crashes' --gtest_also_run_disabled_tests >/dev/null
        status=$?
        hx_wine_teardown
        echo "the crashing program ended with status $status after $(($(date +%s) - began)) s"
        [ "$status" -ne 124 ] && [ "$status" -ne 137 ] || { echo "it ran into its time limit"; exit 1; }
        hx_ledger_expect "0 1 0" "$preset/selfcheck-crash"
    )
}
if lane_runs; then
    stage_start "a crash under Wine on $preset"
    check "$preset/crash-counted-at-once" crash_under_wine
    stage_end
else
    lane_skip "$preset/crash-counted-at-once"
fi
