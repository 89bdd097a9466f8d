# Sourced by the scripts that run Windows programs: a quiet, fast Wine in a prefix under the
# build folder, and an X display (Xvfb when none is given).
#   hx_wine_setup <build-dir>   create/reuse the prefix, start Xvfb and a detached wineserver
#   hx_wine <program> [args]    run a Windows program
#   hx_wine_teardown            stop the wineserver (flushes the registry) and our Xvfb

HX_WINE64=/usr/lib/wine/wine64
HX_WINESERVER=/usr/lib/wine/wineserver
HX_XVFB_PID=""

hx_wine_setup() {
    local build_dir
    build_dir=$(cd "$1" && pwd)
    export WINEPREFIX="$build_dir/wineprefix"
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
    "$HX_WINESERVER" -p </dev/null >/dev/null 2>&1
    "$HX_WINE64" wineboot </dev/null >/dev/null 2>&1
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
    fi
}
