# Sourced by the scripts that run Windows programs: a quiet, fast Wine in a prefix under the
# build folder, and an X display (Xvfb when none is given).
#   hx_wine_setup <build-dir> [prefix]
#                               reuse the prefix, or copy it from the template (below) when
#                               it is missing (build-dir/wineprefix unless named here or in
#                               HX_WINE_PREFIX_NAME, which gives the scripts that name none,
#                               run.sh and screenshot.sh, a prefix of one's own), start Xvfb
#                               and a detached wineserver. The build decides the loader:
#                               build/win32 (i686) runs under 32-bit Wine, any other under
#                               wine64; both in a 64-bit prefix.
#   hx_wine <program> [args]    run a Windows program of that build ($HX_WINE is the loader)
#   hx_wine_teardown            stop the wineserver (flushes the registry) and our Xvfb
#   hx_wine_dpi <dpi>           the screen DPI of the prefix (below)
#   hx_wine_template            make the template prefix if it is missing or out of date
#   hx_wine_fresh_prefix <dir>  a fresh copy of the template at <dir> (what was there goes)
#   hx_xvfb_start               an Xvfb of our own on a free display: DISPLAY set to it, its
#                               process id in HX_XVFB_STARTED (the caller keeps it)
#   hx_xvfb_stop <pid>          ends that Xvfb
# docs/wine.md explains each setting.

HX_WINE64=/usr/lib/wine/wine64
HX_WINE32=/usr/lib/wine/wine
HX_WINE=$HX_WINE64
HX_WINESERVER=/usr/lib/wine/wineserver
# Where "Start with Windows" keeps the utility (the value HX88UUtil).
HX_RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
HX_XVFB_PID=""
HX_XVFB_STARTED=""
HX_DISPLAY_BEFORE=""
# Every prefix is a copy of this one, made once by wineboot (it takes 10 to 80 s, and minutes
# where 32-bit Wine runs emulated) with our settings; copying takes seconds.
HX_WINE_TEMPLATE=${HX_WINE_TEMPLATE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix-template}

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
        HX_DISPLAY_BEFORE=${DISPLAY-}
        hx_xvfb_start
        HX_XVFB_PID=$HX_XVFB_STARTED
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
        hx_wine_fresh_prefix "$WINEPREFIX" || return 1
    fi
    hx_wine_prefix_settings
    "$HX_WINESERVER" -p </dev/null >/dev/null 2>&1
    hx_wine_boot
}

# Xvfb picks a free display itself and writes its number once it serves: setups running at
# once (the lanes of the test command, a stage's display of its own) never share, or kill,
# one display. A display that a setup makes is its own (HX_XVFB_PID, ended by the teardown);
# one made with hx_xvfb_start directly, as a lane's, is left to its maker.
hx_xvfb_start() {
    local number_file i
    number_file=$(mktemp)
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$number_file" >/dev/null 2>&1 &
    HX_XVFB_STARTED=$!
    for i in $(seq 1 300); do [ -s "$number_file" ] && break; sleep 0.1; done
    export DISPLAY=":$(tr -dc 0-9 <"$number_file")"
    rm -f "$number_file"
    [ "$DISPLAY" != ":" ] || { echo "Xvfb gave no display"; return 1; }
}

hx_xvfb_stop() {  # hx_xvfb_stop <pid>
    [ -n "${1:-}" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# The template: a prefix made by wineboot with our settings, made again when Wine's version
# changes or when it lacks the 32-bit part that an installed 32-bit Wine would give it
# (whether 32-bit Wine is there decides its width; the stamp file says which it has). Two
# shells that want it at once make it once (flock).
hx_wine_template_stamp() {
    local width=64
    [ -x "$HX_WINE32" ] && width=32+64
    echo "$("$HX_WINE64" --version 2>/dev/null) $width"
}

hx_wine_template() {
    local stamp made
    stamp=$(hx_wine_template_stamp)
    [ "$(cat "$HX_WINE_TEMPLATE/.hx-template" 2>/dev/null)" = "$stamp" ] && return 0
    mkdir -p "$(dirname "$HX_WINE_TEMPLATE")"
    (
        flock 9
        [ "$(cat "$HX_WINE_TEMPLATE/.hx-template" 2>/dev/null)" = "$stamp" ] && exit 0
        made="$HX_WINE_TEMPLATE.making"
        rm -rf "$made" "$HX_WINE_TEMPLATE"
        echo "Creating the template Wine prefix in $HX_WINE_TEMPLATE (once; every prefix is a copy)..."
        export WINEPREFIX=$made WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
        env -u DISPLAY "$HX_WINE64" wineboot -i </dev/null >/dev/null 2>&1
        "$HX_WINESERVER" -w
        [ -f "$made/system.reg" ] || { echo "wineboot made no prefix in $made"; exit 1; }
        hx_wine_prefix_settings
        "$HX_WINESERVER" -k </dev/null >/dev/null 2>&1
        "$HX_WINESERVER" -w </dev/null >/dev/null 2>&1
        echo "$stamp" >"$made/.hx-template"
        mv "$made" "$HX_WINE_TEMPLATE"
    ) 9>"$HX_WINE_TEMPLATE.lock"
}

# A prefix is 1.3 GB, nearly all of it Wine's own programs and libraries under drive_c/windows,
# which no program writes once wineboot has made them. A copy shares those files with the
# template (hard links) and copies the rest: the registry, the settings and what programs
# write (23 MB). A test run makes a dozen prefixes: 1.6 GB on disk instead of 17, and seconds saved
# on each copy. Where the template lies on another file system, the copy is whole.
hx_wine_fresh_prefix() {  # hx_wine_fresh_prefix <dir>
    hx_wine_template || return 1
    rm -rf "$1"
    mkdir -p "$(dirname "$1")"
    if cp -a --link "$HX_WINE_TEMPLATE" "$1" 2>/dev/null; then
        find "$1" -type f ! \( -path "$1/drive_c/windows/*" -a \( -name '*.dll' -o -name '*.exe' \
            -o -name '*.nls' -o -name '*.drv' -o -name '*.sys' -o -name '*.ocx' -o -name '*.cpl' \
            -o -name '*.acm' -o -name '*.vxd' -o -name '*.tlb' -o -name '*.ds' -o -name '*.ax' \) \) \
            -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f" || exit 1; done' sh {} + ||
            return 1
    else
        rm -rf "$1"
        cp -a --reflink=auto "$HX_WINE_TEMPLATE" "$1" || return 1
    fi
    rm -f "$1/.hx-template"
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
#   a scalable one in HX_DIALOG_FONT before hx_wine_setup (docs/scaling.md);
# - no crash dialog: a program that crashes ends at once (Wine's debugger prints its
#   backtrace into the program's output) instead of waiting for a click on a display nobody
#   looks at until its time limit.
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
    if ! grep -q '^"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null; then
        "$HX_WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
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
        hx_xvfb_stop "$HX_XVFB_PID"
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
