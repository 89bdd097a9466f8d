# Sourced in each Windows lane of scripts/test.sh: the end of the Windows session while the
# utility runs (tests/win/e2e_session). Ending the session ends every program of the Wine
# session that has a window, the tray host among them, so it runs in a Wine prefix and
# session of its own, and nothing else runs in that session after it.
if [ -f "build/$preset/bin/win_e2e_session.exe" ]; then
    if lane_runs; then
        stage_start "end of the session on $preset"
        hx_wine_fresh_prefix "build/$preset/wineprefix-session"
        hx_wine_setup "build/$preset" wineprefix-session
        HX_RUN_DIR="build/$preset/bin" HX_XML_PREFIX="Z:" run_gtest "$preset/win_e2e_session" 300 "$HX_WINE" win_e2e_session.exe
        hx_wine_teardown
        stage_end
    else
        lane_skip "$preset/win_e2e_session"
    fi
fi
