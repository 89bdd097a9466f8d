# Sourced by the scripts that run Windows programs: a quiet, fast Wine in a prefix under the
# build folder, and an X display (Xvfb when none is given).
#   hx_wine_setup <build-dir> [prefix]
#                               create/reuse the prefix (build-dir/wineprefix unless named),
#                               start Xvfb and a detached wineserver
#   hx_wine <program> [args]    run a Windows program
#   hx_wine_teardown            stop the wineserver (flushes the registry) and our Xvfb
#   hx_wine_dpi <dpi>           the screen DPI of the prefix (below)

HX_WINE64=/usr/lib/wine/wine64
HX_WINESERVER=/usr/lib/wine/wineserver
HX_XVFB_PID=""
HX_DISPLAY_BEFORE=""

hx_wine_setup() {
    local build_dir
    build_dir=$(cd "$1" && pwd)
    export WINEPREFIX="$build_dir/${2:-wineprefix}"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64

    if [ -z "${DISPLAY:-}" ] || [ -n "${HX_FORCE_XVFB:-}" ]; then
        local n
        for n in $(seq 90 140); do
            if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
        done
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        HX_XVFB_PID=$!
        HX_DISPLAY_BEFORE=${DISPLAY-}
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    fi

    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX (once)..."
        env -u DISPLAY "$HX_WINE64" wineboot -i </dev/null >/dev/null 2>&1
        "$HX_WINESERVER" -w
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
           /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        "$HX_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        "$HX_WINESERVER" -w
    fi
    hx_wine_dialog_font
    "$HX_WINESERVER" -p </dev/null >/dev/null 2>&1
    "$HX_WINE64" wineboot </dev/null >/dev/null 2>&1
}

# The dialog templates' font, "MS Shell Dlg", is the 8-point MS Sans Serif face on Windows
# (Microsoft Sans Serif keeps its metrics). Wine maps it to its Tahoma, whose wider glyphs
# wrap labels at the templates' widths ("Link Quality" becomes "Link"). Wine's own bitmap
# MS Sans Serif has the Windows metrics; it is installed and substituted once per prefix.
# It exists only at 96 DPI: a prefix for other DPIs names a scalable face in HX_DIALOG_FONT
# (Tahoma, Wine's own choice) before hx_wine_setup.
hx_wine_dialog_font() {
    local face=${HX_DIALOG_FONT:-MS Sans Serif}
    grep -q "^\"MS Shell Dlg\"=\"$face\"" "$WINEPREFIX/system.reg" 2>/dev/null && return 0
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/sserife.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || return 0
    "$HX_WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'MS Shell Dlg' /d "$face" /f </dev/null >/dev/null 2>&1
    "$HX_WINESERVER" -w
}

hx_wine() {
    "$HX_WINE64" "$@"
}

hx_wine_teardown() {
    "$HX_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    "$HX_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
    if [ -n "$HX_XVFB_PID" ]; then
        kill "$HX_XVFB_PID" 2>/dev/null || true
        wait "$HX_XVFB_PID" 2>/dev/null || true
        HX_XVFB_PID=""
        # The display we made is gone: later programs see the display they had before.
        if [ -n "$HX_DISPLAY_BEFORE" ]; then export DISPLAY=$HX_DISPLAY_BEFORE; else unset DISPLAY; fi
    fi
}

# Sets the screen DPI every program of the prefix sees (96 is 100 %, 144 is 150 %, 192 is
# 200 %) and restarts the prefix's wineserver, which reads it only when it starts. Wine keeps
# it per prefix: give scaled runs a prefix of their own.
#   hx_wine_dpi <dpi>           after hx_wine_setup
hx_wine_dpi() {
    local hex
    hex=$(printf '%08x' "$1")
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%s\r\n\r\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\r\n"LogPixels"=dword:%s\r\n' \
        "$hex" "$hex" >"$WINEPREFIX/drive_c/hx-dpi.reg"
    "$HX_WINE64" regedit /S 'C:\hx-dpi.reg' </dev/null >/dev/null 2>&1 || return 1
    "$HX_WINESERVER" -k </dev/null >/dev/null 2>&1
    "$HX_WINESERVER" -w </dev/null >/dev/null 2>&1
    "$HX_WINESERVER" -p </dev/null >/dev/null 2>&1
    "$HX_WINE64" wineboot </dev/null >/dev/null 2>&1
}
