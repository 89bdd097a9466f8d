#!/usr/bin/env bash
# Builds the utility for Windows and runs it under Wine against the default simulated world.
#   scripts/run.sh [--build win32|win64] [folder]
#   scripts/run.sh --help
# The build we ship is the 32-bit one (win32, under 32-bit Wine): it runs wherever this
# machine executes 32-bit code; elsewhere the 64-bit build (win64) runs instead, and the
# command says so. --build picks one. It builds the utility, the two stand-in libraries, the
# console program hxctl and the simulator's control program hxsim.
# With a display it starts the utility for you: look for its icon in the notification area,
# and drive it with hxctl, or steer the simulated adapter with hxsim, from a second terminal
# (the command prints the lines).
# Without one it runs the utility in Xvfb and takes a user's tour: a first start with nothing
# stored, the window opened from the tray icon, every page visited, the WPA-PSK network
# joined from the Site Survey page on the way, a profile saved, and Exit chosen in the tray
# menu. A picture of every step is saved into the folder (default build/screenshots).
set -eu
usage() { sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; }
preset=""
folder=""
while [ $# -gt 0 ]; do
    case "$1" in
    -h | --help) usage; exit 0 ;;
    --build)
        preset=${2:-}
        case "$preset" in win32 | win64) ;; *) usage >&2; exit 2 ;; esac
        shift 2 ;;
    -*) echo "scripts/run.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
    *)
        [ -z "$folder" ] || { usage >&2; exit 2; }
        folder=$1
        shift ;;
    esac
done
cd "$(dirname "$0")/.."
ROOT=$(pwd)
source scripts/packages.sh
source scripts/wine-env.sh
hx_install_packages
if [ "$preset" != win64 ]; then
    probe=0
    hx_can_run_32bit || probe=$?
    [ "$probe" -eq 2 ] && { echo "The 32-bit probe could not be built (as or ld): whether the 32-bit build can run here is unknown." >&2; exit 1; }
    if [ "$probe" -ne 0 ]; then
        [ "$preset" = win32 ] && { echo "This machine cannot execute 32-bit code: the win32 build cannot run here." >&2; exit 1; }
        echo "This machine cannot execute 32-bit code: running the 64-bit build (win64) instead of the 32-bit one."
        preset=win64
    else
        hx_install_wine32
        preset=win32
    fi
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target HX88UUtil VUVAVO dot1x_dll hxctl hxsim hxtour >/dev/null
echo "Running the $preset build."
# How to reach the running utility from a second terminal: Windows programs run in this
# build's Wine prefix, from its bin folder.
second_terminal() {
    echo "  source scripts/wine-env.sh; hx_wine_setup build/$preset; cd build/$preset/bin"
    echo "  hx_wine hxctl.exe status       # the utility's status; hx_wine hxctl.exe --help lists the verbs (docs/hxctl.md)"
    echo "  hx_wine hxsim.exe show         # the simulated world; hx_wine hxsim.exe help lists its commands (docs/simulator.md)"
}

if [ -n "${DISPLAY:-}" ]; then
    hx_wine_setup "build/$preset"
    trap hx_wine_teardown EXIT
    cd "build/$preset/bin"
    echo "Starting HX88UUtil.exe: look for its icon in the notification area."
    echo "To drive it, or steer the simulated adapter, in a second terminal with DISPLAY=$DISPLAY:"
    second_terminal
    hx_wine HX88UUtil.exe
    exit 0
fi

shots=$(realpath -m "${folder:-build/screenshots}")
mkdir -p "$shots"
hx_wine_setup "build/$preset"
source scripts/tour-desktop.sh
# A first start: nothing stored yet, and no start with Windows chosen.
hx_wine reg delete 'HKCU\Software\Tessaro\HX88UUtil' /f </dev/null >/dev/null 2>&1 || true
hx_wine reg delete "$HX_RUN_KEY" /v HX88UUtil /f </dev/null >/dev/null 2>&1 || true

cd "build/$preset/bin"
tour_start hxtour 800x600

# Site Survey and Link Info controls, Encryption and Profile buttons, by their ids.
LI_STATUS=1000 SITE_CONNECT=1042 WEP_PASSPHRASE=1091 WEP_APPLY=1029 PROF_ADD=1038

step open 20
step wait-text linkinfo $LI_STATUS "Associated BSSID" 15
shot 01-link-info 2
step page sitesurvey
step wait-rows 15
shot 02-site-survey
step select WPA-TKIP-Home
step press sitesurvey $SITE_CONNECT
shot 03-use-previous-wpa-setting 1
step answer "Use Previous WPA Setting" no
step set-text encryption $WEP_PASSPHRASE tkip-passphrase
shot 04-encryption
step press encryption $WEP_APPLY
step wait-text linkinfo $LI_STATUS "Associated BSSID = 06-A0-88-00-00-03" 20
shot 05-link-info-wpa-psk 4
step page configuration
shot 06-configuration
step page profile
step press profile $PROF_ADD
step editor-name "Home"
shot 07-profile-editor
step editor-ok
shot 08-profile
step page about
shot 09-about
step tray-menu
shot 10-tray-menu 1
step menu-exit
step wait-exit 10
tour_ended
echo "The tour ended through the tray menu's Exit; pictures in $shots"
echo "To try the utility yourself, run this command with a display (DISPLAY set). To drive it"
echo "then with hxctl or steer the simulated adapter with hxsim, in a second terminal:"
second_terminal
