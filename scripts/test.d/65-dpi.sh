# Sourced by scripts/test.sh: the main window, its pages and the profile editor at 150 % and
# 200 % (the Windows suites above ran them at 100 %): no label whole at 96 DPI cut or
# wrapped, the meters filling their rectangles in proportion, the icons at the sizes of the
# DPI. For each Windows build that runs, in one Wine prefix of its own set to each DPI in
# turn, with Tahoma for "MS Shell Dlg" (docs/scaling.md says why).
for preset in win64 win32; do
    [ -f "build/$preset/bin/win_pages.exe" ] || continue
    if [[ " ${WINDOWS_BUILDS[*]} " != *" $preset "* ]]; then
        skip_32bit "$preset/win_pages-dpi144"
        skip_32bit "$preset/win_pages-dpi192"
        continue
    fi
    stage_start "scaling of $preset: 144 and 192 DPI"
    HX_FORCE_XVFB=1 HX_DIALOG_FONT=Tahoma hx_wine_setup "build/$preset" wineprefix-dpi
    for dpi in 144 192; do
        hx_wine_dpi "$dpi"
        HX_EXPECT_DPI=$dpi HX_RUN_DIR="build/$preset/bin" HX_XML_PREFIX="Z:" \
            run_gtest "$preset/win_pages-dpi$dpi" 300 "$HX_WINE" win_pages.exe --gtest_filter='ScaleTest.*'
    done
    hx_wine_teardown
    stage_end "scaling of $preset"
done
