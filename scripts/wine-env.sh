# Sourced by the scripts that run Windows programs: a quiet, fast Wine in a prefix under the
# build folder, and an X display (Xvfb when none is given).
#   hx_wine_setup <build-dir> [prefix]
#                               create/reuse the prefix (build-dir/wineprefix unless named
#                               here or in HX_WINE_PREFIX_NAME, which gives the scripts that
#                               name none, run.sh and screenshot.sh, a prefix of one's own),
#                               start Xvfb and a detached wineserver. The build decides the
#                               loader: build/win32 (i686) runs under 32-bit Wine, any other
#                               under wine64; both in a 64-bit prefix.
#   hx_wine <program> [args]    run a Windows program of that build ($HX_WINE is the loader)
#   hx_wine_teardown            stop the wineserver (flushes the registry) and our Xvfb
#   hx_wine_dpi <dpi>           the screen DPI of the prefix (below)
# docs/wine.md explains each setting.

HX_WINE64=/usr/lib/wine/wine64
HX_WINE32=/usr/lib/wine/wine
HX_WINE=$HX_WINE64
HX_WINESERVER=/usr/lib/wine/wineserver
# Where "Start with Windows" keeps the utility (the value HX88UUtil).
HX_RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
HX_XVFB_PID=""
HX_DISPLAY_BEFORE=""

# The machine a build folder's programs are made for: i686 or x86_64.
hx_build_machine() {
    if grep -qs '^CMAKE_SYSTEM_PROCESSOR:.*=i686' "$1/CMakeCache.txt" || [ "$(basename "$1")" = win32 ]; then
        echo i686
    else
        echo x86_64
    fi
}

hx_wine_setup() {
    local build_dir
    build_dir=$(cd "$1" && pwd)
    export WINEPREFIX="$build_dir/${2:-${HX_WINE_PREFIX_NAME:-wineprefix}}"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    HX_WINE=$HX_WINE64
    [ "$(hx_build_machine "$build_dir")" = i686 ] && HX_WINE=$HX_WINE32

    if [ -z "${DISPLAY:-}" ] || [ -n "${HX_FORCE_XVFB:-}" ]; then
        # Xvfb picks a free display itself and writes its number once it serves: two setups
        # running at once (the background stress runs) never share, or kill, one display.
        local number_file i
        number_file=$(mktemp)
        Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$number_file" >/dev/null 2>&1 &
        HX_XVFB_PID=$!
        for i in $(seq 1 100); do [ -s "$number_file" ] && break; sleep 0.1; done
        HX_DISPLAY_BEFORE=${DISPLAY-}
        export DISPLAY=":$(tr -dc 0-9 <"$number_file")"
        rm -f "$number_file"
    fi

    # A prefix made while 32-bit Wine was not installed has no 32-bit system folder: made
    # anew for the 32-bit build.
    if [ "$HX_WINE" = "$HX_WINE32" ] && [ -f "$WINEPREFIX/system.reg" ] &&
        [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "The Wine prefix $WINEPREFIX has no 32-bit part: making it anew"
        "$HX_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX (once)..."
        env -u DISPLAY "$HX_WINE64" wineboot -i </dev/null >/dev/null 2>&1
        "$HX_WINESERVER" -w
    fi
    hx_wine_prefix_settings
    "$HX_WINESERVER" -p </dev/null >/dev/null 2>&1
    hx_wine_boot
}

# Boots the session of a just started wineserver. Its first program does it (wineboot
# --init, which starts no programs); a plain wineboot would also start what the Run key
# names: an installed utility whose uninstall was cut short would then run beside the one
# under test, and both would serve the control pipe (Wine ignores
# FILE_FLAG_FIRST_PIPE_INSTANCE). That first program removes the utility's Run value, so no
# test session starts one by itself.
hx_wine_boot() {
    "$HX_WINE64" reg delete "$HX_RUN_KEY" /v HX88UUtil /f </dev/null >/dev/null 2>&1 || true
}

# What every prefix of ours holds, checked each time (a prefix made by hand, or before a
# setting was added here, gets it too):
# - no window manager under Xvfb: windows are not "managed", or every hide of a top-level
#   window (the tray host's too) waits two seconds for a window manager that never answers;
# - Windows' fonts for the dialogs: Tahoma and Marlett, and for "MS Shell Dlg" Wine's bitmap
#   MS Sans Serif, which has the metrics of the 8-point face the dialog templates are laid
#   out for (Wine maps it to its Tahoma otherwise, whose wider glyphs wrap labels: "Link
#   Quality" becomes "Link"). That face exists only at 96 DPI: a prefix for other DPIs names
#   a scalable one in HX_DIALOG_FONT before hx_wine_setup (docs/scaling.md).
hx_wine_prefix_settings() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" changed=""
    mkdir -p "$fonts"
    local f
    for f in tahoma.ttf tahomabd.ttf marlett.ttf sserife.fon; do
        [ -f "$fonts/$f" ] || cp "/usr/share/wine/fonts/$f" "$fonts/" 2>/dev/null || true
    done
    if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        "$HX_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        changed=1
    fi
    local face=${HX_DIALOG_FONT:-MS Sans Serif}
    if ! grep -q "^\"MS Shell Dlg\"=\"$face\"" "$WINEPREFIX/system.reg" 2>/dev/null; then
        "$HX_WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
            /v 'MS Shell Dlg' /d "$face" /f </dev/null >/dev/null 2>&1
        changed=1
    fi
    [ -z "$changed" ] || "$HX_WINESERVER" -w
}

hx_wine() {
    "$HX_WINE" "$@"
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
    hx_wine_boot
}
