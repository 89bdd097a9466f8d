#!/usr/bin/env bash
# The worked example of docs/registry.md under Wine, with its .reg file as it stands: the
# x86_64 installer run silently, the file imported with "reg import", the installed utility
# started. It must join the seeded WPA-PSK network (the simulated access point authorises
# the port) and list the two seeded profiles; a silent uninstall ends it. Prints each step;
# exit status 0 when all hold. Needs a built build/win64.
set -eu
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
example=docs/examples/wpa-psk-two-profiles.reg
# The installer stage has usually just made the installer: made again only when the build
# or the installer script is newer.
setup=$(ls -t build/installer/HX88UUtil-*-x86_64-setup.exe 2>/dev/null | head -1)
if [ -z "$setup" ] || [ -n "$(find build/win64/bin/HX88UUtil.exe build/win64/bin/VUVAVO.dll \
        build/win64/bin/dot1x_dll.dll installer/HX88UUtil.nsi -newer "$setup")" ]; then
    setup=$(scripts/installer.sh win64)
fi
hx_wine_setup build/win64
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

SETTINGS_KEY='HKCU\Software\Tessaro\HX88UUtil'
bin=build/win64/bin
dir=""
utility_pid=""
cleanup() {
    if [ -n "$dir" ] && [ -f "$dir/uninstall.exe" ]; then
        hx_wine "$dir/uninstall.exe" /S </dev/null >/dev/null 2>&1 || true
    fi
    if [ -n "$utility_pid" ]; then kill "$utility_pid" 2>/dev/null || true; fi
    hx_wine reg delete "$SETTINGS_KEY" /f </dev/null >/dev/null 2>&1 || true
    hx_wine_teardown
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok (${SECONDS} s): $*"; }
sim_show() { hx_wine "$bin/hxsim.exe" show </dev/null 2>/dev/null | tr -d '\r'; }
joined() { sim_show | grep -qx 'port.authorised: yes'; }
ended() { ! kill -0 "$1" 2>/dev/null; }
wait_until() {  # wait_until <tenths of a second> <command...>
    local limit=$1 i
    shift
    for ((i = 0; i < limit; i++)); do "$@" && return 0; sleep 0.1; done
    "$@"
}

# No settings of an earlier run; the installer replaces an earlier installation.
hx_wine reg delete "$SETTINGS_KEY" /f </dev/null >/dev/null 2>&1 || true
(cd "$(dirname "$setup")" && hx_wine "$(basename "$setup")" /S </dev/null >/dev/null 2>&1) ||
    fail "the installer ended with an error"
dir=$(find "$WINEPREFIX/drive_c/users" -maxdepth 6 -type d -path '*/AppData/Local/Programs/HX-88U Utility' | head -1)
[ -n "$dir" ] && [ -f "$dir/HX88UUtil.exe" ] || fail "no installed utility"
ok "installed silently into ${dir#"$WINEPREFIX"/}"

reg_file=$(hx_wine winepath -w "$(pwd)/$example" </dev/null 2>/dev/null | tr -d '\r')
hx_wine reg import "$reg_file" </dev/null >/dev/null 2>&1 || fail "reg import $example ended with an error"
ok "imported $example"

(cd "$dir" && exec "$HX_WINE64" HX88UUtil.exe </dev/null >/dev/null 2>&1) &
utility_pid=$!
wait_until 300 joined || fail "the port was not authorised: $(sim_show | grep -E '^(settings.ssid|settings.auth-mode|link\.|port\.)')"
ssid=$(sim_show | sed -n 's/^settings.ssid: //p')
[ "$ssid" = '"WPA-TKIP-Home"' ] || fail "joined $ssid, not the seeded network"
ok "the installed utility joined $ssid with the seeded pass phrase"

hx_wine "$bin/hxtour.exe" open </dev/null >/dev/null 2>&1 || fail "the window did not open"
hx_wine "$bin/hxtour.exe" page profile </dev/null >/dev/null 2>&1 || fail "the Profile page did not show"
listed=$(hx_wine "$bin/hxtour.exe" list profile 1037 </dev/null 2>&1 | tr -d '\r' | paste -sd, -)
[ "$listed" = "Home,Office" ] || fail "the Profile page lists \"$listed\", not Home and Office"
ok "the Profile page lists $listed"

hx_wine "$dir/uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the uninstaller ended with an error"
wait_until 100 ended "$utility_pid" || fail "the utility still runs after the uninstall"
utility_pid=""
dir=""
ok "uninstalled silently; the utility ended"
