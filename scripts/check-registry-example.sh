#!/usr/bin/env bash
# The worked example of docs/registry.md under Wine, with its .reg file as it stands: a
# Windows build's installer run silently, the file imported with "reg import", the installed
# utility started. It must join the seeded WPA-PSK network (the simulated access point
# authorises the port) and list the two seeded profiles; a silent uninstall ends it. Prints
# each step; exit status 0 when all hold.
#   scripts/check-registry-example.sh [win64|win32]    (default win64)
# The build named must exist, and build/win64 for the tools that look at the running
# utility (hxsim, hxtour: they reach a utility of either build).
set -eu
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
preset=${1:-win64}
case "$preset" in
    win64) machine=x86_64 ;;
    win32) machine=i686 ;;
    *) echo "usage: scripts/check-registry-example.sh [win64|win32]" >&2; exit 2 ;;
esac
example=docs/examples/wpa-psk-two-profiles.reg
# The installer stage has usually just made the installer: made again only when the build
# or the installer script is newer.
setup=$(ls -t build/installer/HX88UUtil-*-$machine-setup.exe 2>/dev/null | head -1)
if [ -z "$setup" ] || [ -n "$(find "build/$preset/bin/HX88UUtil.exe" "build/$preset/bin/hxctl.exe" \
        "build/$preset/bin/VUVAVO.dll" "build/$preset/bin/dot1x_dll.dll" installer/HX88UUtil.nsi -newer "$setup")" ]; then
    setup=$(scripts/installer.sh "$preset")
fi
hx_wine_setup "build/$preset"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

SETTINGS_KEY='HKCU\Software\Tessaro\HX88UUtil'
tools=build/win64/bin
dir=""
utility_pid=""
# The uninstaller runs on as a copy of itself after uninstall.exe returns; its last steps
# remove the folder and then the Run value. A wineserver ended before that leaves the Run
# value, and the next session of this prefix would start the installed utility.
uninstalled() {
    [ ! -e "$dir" ] && ! "$HX_WINE64" reg query "$HX_RUN_KEY" /v HX88UUtil </dev/null >/dev/null 2>&1
}
uninstall() {
    hx_wine "$dir/uninstall.exe" /S </dev/null >/dev/null 2>&1 || return 1
    wait_until 20 uninstalled
}
cleanup() {
    if [ -n "$dir" ] && [ -f "$dir/uninstall.exe" ]; then uninstall || true; fi
    if [ -n "$utility_pid" ]; then kill "$utility_pid" 2>/dev/null || true; fi
    "$HX_WINE64" reg delete "$SETTINGS_KEY" /f </dev/null >/dev/null 2>&1 || true
    hx_wine_teardown
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok (${SECONDS} s): $*"; }
tool() { "$HX_WINE64" "$tools/$1.exe" "${@:2}" </dev/null 2>/dev/null; }
sim_show() { tool hxsim show | tr -d '\r'; }
ended() { ! kill -0 "$1" 2>/dev/null; }
wait_until() {  # wait_until <seconds> <command...>
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# No settings of an earlier run; the installer replaces an earlier installation.
"$HX_WINE64" reg delete "$SETTINGS_KEY" /f </dev/null >/dev/null 2>&1 || true
(cd "$(dirname "$setup")" && hx_wine "$(basename "$setup")" /S </dev/null >/dev/null 2>&1) ||
    fail "the installer ended with an error"
dir=$(find "$WINEPREFIX/drive_c/users" -maxdepth 6 -type d -path '*/AppData/Local/Programs/HX-88U Utility' | head -1)
[ -n "$dir" ] && [ -f "$dir/HX88UUtil.exe" ] || fail "no installed utility"
ok "installed the $machine build silently into ${dir#"$WINEPREFIX"/}"

reg_file=$("$HX_WINE64" winepath -w "$(pwd)/$example" </dev/null 2>/dev/null | tr -d '\r')
"$HX_WINE64" reg import "$reg_file" </dev/null >/dev/null 2>&1 || fail "reg import $example ended with an error"
ok "imported $example"

(cd "$dir" && exec "$HX_WINE" HX88UUtil.exe </dev/null >/dev/null 2>&1) &
utility_pid=$!
# One process waits: Wine 8's wineserver can die when processes start while the utility's
# cryptography library gathers entropy (it lists every handle of the system) at its first
# handshake, so no process is started until the port is authorised.
tool hxsim --until 'port.authorised: yes' --within 90 show >/dev/null ||
    fail "the port was not authorised: $(sim_show | grep -E '^(settings.ssid|settings.auth-mode|link\.|port\.)')
the utility's process: $(ended "$utility_pid" && echo ended || echo running); wineserver: $(pgrep -f "wineserver.*" >/dev/null && echo running || echo gone)"
ssid=$(sim_show | sed -n 's/^settings.ssid: //p')
[ "$ssid" = '"WPA-TKIP-Home"' ] || fail "joined $ssid, not the seeded network"
ok "the installed utility joined $ssid with the seeded pass phrase"

tool hxtour open >/dev/null || fail "the window did not open"
tool hxtour page profile >/dev/null || fail "the Profile page did not show"
listed=$(tool hxtour list profile 1037 | tr -d '\r' | paste -sd, -)
[ "$listed" = "Home,Office" ] || fail "the Profile page lists \"$listed\", not Home and Office"
ok "the Profile page lists $listed"

uninstall || fail "the uninstall ended with an error or left $dir"
wait_until 20 ended "$utility_pid" || fail "the utility still runs after the uninstall"
utility_pid=""
dir=""
ok "uninstalled silently; the utility ended"
