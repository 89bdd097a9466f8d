# Sourced in each Windows lane of scripts/test.sh: the Windows stress program (a thousand
# repaints of every page, each a server round trip per control under Wine), in a Wine prefix
# and an Xvfb of its own, after the lane's other Windows programs.
if [ -f "build/$preset/bin/win_stress.exe" ]; then
    if lane_runs; then
        stage_start "Windows stress of $preset"
        hx_wine_fresh_prefix "build/$preset/wineprefix-stress"
        HX_FORCE_XVFB=1 hx_wine_setup "build/$preset" wineprefix-stress
        HX_RUN_DIR="build/$preset/bin" HX_XML_PREFIX="Z:" run_gtest "$preset/win_stress" 1800 "$HX_WINE" win_stress.exe
        hx_wine_teardown
        grep -E '^\[ +(OK|FAILED) +\]' "$RESULTS/$preset-win_stress.log" | sed "s/^/   /"
        stage_end
    else
        lane_skip "$preset/win_stress"
    fi
fi
