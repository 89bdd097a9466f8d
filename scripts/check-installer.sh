#!/usr/bin/env bash
# A Windows build's installer under Wine, as a user without administrator rights would use it:
# a silent install (files with the simulated adapter, Start menu entry, uninstall entry, the
# "Start with Windows" entry that is on by default), the installed utility started from its
# Start menu folder's target and asked for its status by the installed hxctl.exe (it runs on
# the simulated adapter and says so), then a silent uninstall while it runs (it is asked to
# exit, everything installed is removed, the user's settings stay); a silent install with
# /NOAUTOSTART, which leaves "Start with Windows" off, and its uninstall; an upgrade after
# the user turned "Start with Windows" off, which keeps it off; last, without the simulated
# adapter over a VUVAVO.dll of the user's (no stand-in is written, the utility runs and
# shows no adapter, an upgrade keeps the choice, the user's library survives install,
# upgrade and uninstall, and /REMOVESETTINGS removes the settings). Prints each step; exit
# status 0 when all hold.
#   scripts/check-installer.sh [win64|win32]    (default win64; the build must exist)
# The i686 installer and utility run under 32-bit Wine.
set -eu
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
preset=${1:-win64}
setup=$(scripts/installer.sh "$preset")
hx_wine_setup "build/$preset"
utility_pid=""
cleanup() {
    if [ -n "$utility_pid" ]; then kill "$utility_pid" 2>/dev/null || true; fi
    hx_wine_teardown
}
trap cleanup EXIT
# No desktop menu entries in the Linux user's home for the Start menu shortcuts.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\HX88UUtil'
SETTINGS_KEY='HKCU\Software\Tessaro\HX88UUtil'
fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok: $*"; }
reg_value() {  # reg_value <key> <name>: the value's data, empty when missing
    hx_wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 \{1,\}REG_[A-Z_]* \{1,\}//p"
}
reg_exists() { hx_wine reg query "$1" </dev/null >/dev/null 2>&1; }
wait_until() {  # wait_until <tenths of a second> <command...>
    local limit=$1 i
    shift
    for ((i = 0; i < limit; i++)); do "$@" && return 0; sleep 0.1; done
    "$@"
}
gone() { [ ! -e "$1" ]; }
no_run_entry() { [ -z "$(reg_value "$HX_RUN_KEY" HX88UUtil)" ]; }
ended() { ! kill -0 "$1" 2>/dev/null; }

# A clean slate: no earlier installation, no stored settings.
hx_wine reg delete "$UNINSTALL_KEY" /f </dev/null >/dev/null 2>&1 || true
hx_wine reg delete "$SETTINGS_KEY" /f </dev/null >/dev/null 2>&1 || true
hx_wine reg delete "$HX_RUN_KEY" /v HX88UUtil /f </dev/null >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/"HX-88U Utility"

install() {  # install [options]: a silent install of the built installer
    (cd "$(dirname "$setup")" && hx_wine "$(basename "$setup")" /S "$@" </dev/null >/dev/null 2>&1) ||
        fail "the installer ended with an error"
}
install
ok "installed silently"

location=$(reg_value "$UNINSTALL_KEY" InstallLocation)
[ -n "$location" ] || fail "no InstallLocation under $UNINSTALL_KEY"
case "$location" in
    *'\AppData\Local\Programs\HX-88U Utility') ok "installed for the current user: $location" ;;
    *) fail "installed outside the user's programs folder: $location" ;;
esac
dir=$(hx_wine winepath -u "$location" </dev/null 2>/dev/null | tr -d '\r')
dir=${dir%/}
for f in HX88UUtil.exe hxctl.exe VUVAVO.dll dot1x_dll.dll; do
    cmp -s "$dir/$f" "build/$preset/bin/$f" || fail "$f is not the built one in $dir"
done
[ -f "$dir/uninstall.exe" ] || fail "no uninstaller in $dir"
ok "the four files and the uninstaller are in place"
[ "$(reg_value "$UNINSTALL_KEY" DisplayName)" = "HX-88U Utility" ] || fail "DisplayName"
[ "$(reg_value "$UNINSTALL_KEY" DisplayVersion)" = "1.2.0.1" ] || fail "DisplayVersion"
[ "$(reg_value "$UNINSTALL_KEY" UninstallString)" = "\"$location\\uninstall.exe\"" ] || fail "UninstallString"
ok "uninstall entry: $(reg_value "$UNINSTALL_KEY" DisplayName) $(reg_value "$UNINSTALL_KEY" DisplayVersion)"
menu=$(find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs/HX-88U Utility' | head -1)
[ -n "$menu" ] && [ -f "$menu/HX-88U Utility.lnk" ] && [ -f "$menu/Uninstall HX-88U Utility.lnk" ] ||
    fail "no Start menu entries"
grep -aq 'HX88UUtil.exe' "$menu/HX-88U Utility.lnk" || fail "the Start menu entry does not point at the utility"
ok "Start menu entries in ${menu#"$WINEPREFIX"/}"
run=$(reg_value "$HX_RUN_KEY" HX88UUtil)
[ "$run" = "\"$location\\HX88UUtil.exe\"" ] || fail "Start with Windows: the Run entry is '$run'"
ok "starts with Windows: $run"

# The installed utility runs with its own libraries: with no stored settings it applies the
# defaults and stores them.
(cd "$dir" && exec "$HX_WINE" HX88UUtil.exe </dev/null >/dev/null 2>&1) &
utility_pid=$!
wait_until 150 reg_exists "$SETTINGS_KEY\\LastSetting" || fail "the installed utility stored no setting"
ok "the installed utility runs and stored its setting"
# The console program installed beside it reaches it over its control channel. The status is
# asked once and every line is checked on that one answer: a second hxctl started under a busy
# Wine may be lost, and is no finding of this check.
status=
installed_status() {  # installed_status <line the status must hold>: the status kept in $status
    status=$(cd "$dir" && hx_wine hxctl.exe -t status </dev/null 2>/dev/null | tr -d '\r')
    said "$1"
}
said() { grep -qx "$1" <<<"$status"; }  # said <line>: the status last asked holds it
wait_until 30 installed_status 'adapter: yes' || fail "the installed hxctl.exe does not reach the utility: $(tr '\n' ' ' <<<"$status")"
ok "the installed hxctl.exe reaches the running utility"
said 'adapter-library: simulated' || fail "the utility does not say it runs on the simulated adapter: $(tr '\n' ' ' <<<"$status")"
ok "the utility says it runs on the simulated adapter"

hx_wine "$dir/uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the uninstaller ended with an error"
wait_until 200 gone "$dir" || fail "$dir is still there: $(ls -A "$dir" | tr '\n' ' ')"
ok "the installation folder is removed"
wait_until 50 ended "$utility_pid" || fail "the running utility was not ended"
utility_pid=""
ok "the running utility was asked to exit"
wait_until 50 gone "$menu" || fail "the Start menu folder is still there"
! reg_exists "$UNINSTALL_KEY" || fail "the uninstall entry is still there"
wait_until 50 no_run_entry || fail "the Run entry is still there"
ok "Start menu entries, uninstall entry and Run entry removed"
reg_exists "$SETTINGS_KEY\\LastSetting" || fail "the user's settings were removed"
ok "the user's settings are kept"
hx_wine reg delete "$SETTINGS_KEY" /f </dev/null >/dev/null 2>&1 || true

# An entry left from an earlier choice goes too.
hx_wine reg add "$HX_RUN_KEY" /v HX88UUtil /d '"C:\earlier\HX88UUtil.exe"' /f </dev/null >/dev/null 2>&1
install /NOAUTOSTART
[ -f "$dir/HX88UUtil.exe" ] || fail "the install with /NOAUTOSTART installed nothing"
no_run_entry || fail "/NOAUTOSTART left the Run entry '$(reg_value "$HX_RUN_KEY" HX88UUtil)'"
ok "installed silently with /NOAUTOSTART: no Run entry"
hx_wine "$dir/uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the second uninstall ended with an error"
wait_until 200 gone "$dir" || fail "$dir is still there after the second uninstall"
ok "uninstalled again"

# An upgrade keeps the user's choice: turned off after the install (the tray menu removes
# the Run entry), it stays off when the installer runs again over that installation.
install
[ -n "$(reg_value "$HX_RUN_KEY" HX88UUtil)" ] || fail "a fresh install left Start with Windows off"
hx_wine reg delete "$HX_RUN_KEY" /v HX88UUtil /f </dev/null >/dev/null 2>&1
install
[ -f "$dir/HX88UUtil.exe" ] || fail "the upgrade installed nothing"
no_run_entry || fail "the upgrade turned Start with Windows on again: '$(reg_value "$HX_RUN_KEY" HX88UUtil)'"
ok "an upgrade keeps Start with Windows off"
hx_wine "$dir/uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the third uninstall ended with an error"
wait_until 200 gone "$dir" || fail "$dir is still there after the third uninstall"
ok "uninstalled once more"

# Without the simulated adapter, over a VUVAVO.dll of the user's: no stand-in is written and
# the user's library is neither replaced nor removed, by an install, an upgrade (which keeps
# the choice), an install that asks for the simulated adapter, or the uninstall.
mkdir -p "$dir"
printf 'the adapter'"'"'s own driver library\r\n' >"$dir/VUVAVO.dll"
users=$(mktemp)
cp "$dir/VUVAVO.dll" "$users"
kept() { cmp -s "$users" "$dir/VUVAVO.dll" || fail "$1 replaced or removed the user's VUVAVO.dll"; }
install /NOSIMULATED
[ -f "$dir/HX88UUtil.exe" ] && [ -f "$dir/hxctl.exe" ] || fail "the install without the simulated adapter left out the utility"
[ ! -e "$dir/dot1x_dll.dll" ] || fail "the install without the simulated adapter wrote dot1x_dll.dll"
kept "the install without the simulated adapter"
ok "installed without the simulated adapter: no stand-in written, the user's VUVAVO.dll kept"
# Without a library it can use, the utility still runs, and shows no adapter.
(cd "$dir" && exec "$HX_WINE" HX88UUtil.exe </dev/null >/dev/null 2>&1) &
utility_pid=$!
wait_until 150 installed_status 'adapter-library: none' ||
    fail "the utility does not run without its libraries: $(tr '\n' ' ' <<<"$status")"
said 'adapter: no' || fail "without a usable VUVAVO.dll the utility shows an adapter"
ok "without a usable VUVAVO.dll the utility runs and shows no adapter"
install
[ ! -e "$dir/dot1x_dll.dll" ] || fail "the upgrade put the simulated adapter in"
kept "the upgrade"
wait_until 50 ended "$utility_pid" || fail "the upgrade did not end the running utility"
utility_pid=""
ok "an upgrade keeps the simulated adapter out"
install /SIMULATED
cmp -s "$dir/dot1x_dll.dll" "build/$preset/bin/dot1x_dll.dll" || fail "/SIMULATED did not put the stand-in supplicant in"
kept "the install with /SIMULATED"
ok "/SIMULATED puts the stand-ins in where the folder has none of its own"
# Without an adapter the utility stored nothing: a stored pass phrase for the uninstaller to remove.
hx_wine reg add "$SETTINGS_KEY\\LastSetting" /v Dot1xPassphrase /d secret-phrase /f </dev/null >/dev/null 2>&1
hx_wine "$dir/uninstall.exe" /S /REMOVESETTINGS </dev/null >/dev/null 2>&1 || fail "the fourth uninstall ended with an error"
wait_until 200 gone "$dir/uninstall.exe" || fail "the fourth uninstall left its uninstaller"
[ ! -e "$dir/dot1x_dll.dll" ] || fail "the uninstall left its stand-in supplicant"
kept "the uninstall"
[ "$(ls -A "$dir")" = VUVAVO.dll ] || fail "the uninstall left $(ls -A "$dir" | tr '\n' ' ')"
ok "uninstalled: the user's VUVAVO.dll alone is left"
wait_until 50 eval '! reg_exists "$SETTINGS_KEY"' || fail "/REMOVESETTINGS left the settings"
ok "/REMOVESETTINGS removed the settings"
rm -rf "$dir" "$users"
