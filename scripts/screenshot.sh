#!/usr/bin/env bash
# Saves a picture of the utility's opened window on one page, as a user sees it under Wine
# against the default simulated world (in a virtual desktop with a taskbar, so the window
# has its frame and the tray icon shows):
#   scripts/screenshot.sh <linkinfo|configuration|encryption|sitesurvey|profile|about> <file.png> [seconds] [button id]
# The picture is taken the given time (default 2 s) after the page was brought to the front;
# the Site Survey page lists the start-up scan about 5 s after the adapter was found. With a
# button id, that button of the page is pressed first (1040: the profile editor of "Modify").
# A step that fails stops the script with an error, and no picture is saved.
# Needs a built build/win64 (cmake --build --preset win64).
set -eu
page=$1
out=$(realpath -m "$2")
button=${4:-}
cd "$(dirname "$0")/.."
ROOT=$(pwd)
source scripts/wine-env.sh
export HX_FORCE_XVFB=1
hx_wine_setup build/win64
shots=$(dirname "$out")
mkdir -p "$shots"
source scripts/tour-desktop.sh
cd build/win64/bin
tour_start hxshot 800x600
step open 15
step page "$page"
[ -z "$button" ] || step press "$page" "$button"
shot "$(basename "$out" .png)" "${3:-2}"   # let the page's next refresh land
step tray-menu
step menu-exit
step wait-exit 10
tour_ended
