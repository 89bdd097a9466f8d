# Sourced by scripts/test.sh: the end of the Windows session while the utility runs
# (tests/win/e2e_session), for each Windows build that runs here. Ending the session ends
# every program of the Wine session that has a window, the tray host among them, so it runs
# in a Wine prefix and session of its own, and nothing else runs in that session after it.
stage_start "end of the session"
for preset in win64 win32; do
    [ -f "build/$preset/bin/win_e2e_session.exe" ] || continue
    if [[ " ${WINDOWS_BUILDS[*]} " != *" $preset "* ]]; then
        skip_32bit "$preset/win_e2e_session"
        continue
    fi
    hx_wine_setup "build/$preset" wineprefix-session
    HX_RUN_DIR="build/$preset/bin" HX_XML_PREFIX="Z:" run_gtest "$preset/win_e2e_session" 300 "$HX_WINE" win_e2e_session.exe
    hx_wine_teardown
done
stage_end "end of the session stage"
