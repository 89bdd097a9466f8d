# Sourced by scripts/test.sh: the main window, its pages and the profile editor at 150 % and
# 200 % (the Windows tests above ran them at 100 %): no label cut or wrapped, the meters
# filling their rectangles in proportion, the icons at the sizes of the DPI. One Wine prefix
# of its own, set to each DPI in turn.
echo "== scaling: 144 and 192 DPI"
dpi_stage_start=$(date +%s)
if [ -f build/win64/bin/win_pages.exe ]; then
    HX_FORCE_XVFB=1 HX_DIALOG_FONT=Tahoma hx_wine_setup build/win64 wineprefix-dpi
    for dpi in 144 192; do
        hx_wine_dpi "$dpi"
        (cd build/win64/bin && HX_EXPECT_DPI=$dpi timeout 300 "$HX_WINE64" win_pages.exe \
            --gtest_filter='ScaleTest.*' --gtest_output="xml:Z:$RESULTS/win_pages-dpi$dpi.xml" \
            </dev/null >"$RESULTS/win_pages-dpi$dpi.log" 2>&1)
        count_gtest "win_pages-dpi$dpi" "$RESULTS/win_pages-dpi$dpi.xml" $?
    done
    hx_wine_teardown
else
    check win_pages-dpi test -f build/win64/bin/win_pages.exe
fi
echo "   $(( $(date +%s) - dpi_stage_start )) s"
