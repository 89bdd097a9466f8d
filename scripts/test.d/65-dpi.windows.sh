# Sourced in each Windows lane of scripts/test.sh: the main window, its pages and the profile
# editor at 150 % and 200 % (the Windows suite ran them at 100 %): no label whole at 96 DPI
# cut or wrapped, the meters filling their rectangles in proportion, the icons at the sizes
# of the DPI. In a Wine prefix of its own set to each DPI in turn, with Tahoma for
# "MS Shell Dlg" (docs/scaling.md says why).
if [ -f "build/$preset/bin/win_pages.exe" ]; then
    if lane_runs; then
        stage_start "scaling of $preset: 144 and 192 DPI"
        hx_wine_fresh_prefix "build/$preset/wineprefix-dpi"
        HX_FORCE_XVFB=1 HX_DIALOG_FONT=Tahoma hx_wine_setup "build/$preset" wineprefix-dpi
        for dpi in 144 192; do
            hx_wine_dpi "$dpi"
            HX_EXPECT_DPI=$dpi HX_RUN_DIR="build/$preset/bin" HX_XML_PREFIX="Z:" \
                run_gtest "$preset/win_pages-dpi$dpi" 300 "$HX_WINE" win_pages.exe --gtest_filter='ScaleTest.*'
        done
        hx_wine_teardown
        stage_end
    else
        lane_skip "$preset/win_pages-dpi144"
        lane_skip "$preset/win_pages-dpi192"
    fi
fi
