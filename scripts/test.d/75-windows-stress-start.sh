# Sourced by scripts/test.sh: the Windows stress program (thousands of repaints of every
# page, each a server round trip per control under Wine) takes minutes. It starts here, in a
# Wine prefix and an Xvfb of its own, once every other Windows program has run: the stages
# after this one are native and do not race it for the display or a timing. Stage 99 waits
# for it and counts it.
stress_pid=""
if [ -f build/win64/bin/win_stress.exe ]; then
    echo "== Windows stress under wine64, in the background"
    (
        HX_FORCE_XVFB=1 hx_wine_setup build/win64 wineprefix-stress
        cd build/win64/bin &&
            timeout 1800 "$HX_WINE64" win_stress.exe --gtest_output="xml:Z:$RESULTS/win_stress.xml" \
                </dev/null >"$RESULTS/win_stress.log" 2>&1
        status=$?
        hx_wine_teardown
        exit $status
    ) >"$RESULTS/win_stress-wine.log" 2>&1 &
    stress_pid=$!
fi
