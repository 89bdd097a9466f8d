# Sourced by scripts/test.sh: the Windows stress program (a thousand repaints of every
# page, each a server round trip per control under Wine) takes minutes. It starts here for
# each Windows build that runs, in a Wine prefix and an Xvfb of its own, once every other
# Windows program has run: the stages after this one are native and do not race it for the
# display or a timing. Stage 99 waits for it and counts it.
stress_pids=()
stress_presets=()
for preset in win64 win32; do
    [ -f "build/$preset/bin/win_stress.exe" ] || continue
    if [[ " ${WINDOWS_BUILDS[*]} " != *" $preset "* ]]; then
        skip_32bit "$preset/win_stress"
        continue
    fi
    echo "== Windows stress of $preset, in the background"
    (
        HX_FORCE_XVFB=1 hx_wine_setup "build/$preset" wineprefix-stress
        HX_RUN_DIR="build/$preset/bin" HX_XML_PREFIX="Z:" run_gtest "$preset/win_stress" 1800 "$HX_WINE" win_stress.exe
        status=$?
        hx_wine_teardown
        exit $status
    ) >"$RESULTS/$preset-win_stress-wine.log" 2>&1 &
    stress_pids+=($!)
    stress_presets+=("$preset")
done
