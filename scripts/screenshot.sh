#!/usr/bin/env bash
# Saves a picture of the utility's opened window on one page, as a user sees it under Wine
# against the default simulated world (in a virtual desktop with a taskbar, so the window
# has its frame and the tray icon shows):
#   scripts/screenshot.sh <linkinfo|configuration|encryption|sitesurvey|profile|about> <file.png> [seconds] [button id]
# The picture is taken the given time (default 2 s) after the page was brought to the front;
# the Site Survey page lists the start-up scan about 5 s after the adapter was found. With a
# button id, that button of the page is pressed first (1040: the profile editor of "Modify").
# Needs a built build/win64 (cmake --build --preset win64).
set -eu
page=$1
out=$(realpath -m "$2")
button=${4:-}
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
export HX_FORCE_XVFB=1
hx_wine_setup build/win64
trap hx_wine_teardown EXIT
cd build/win64/bin
desktop="explorer /desktop=hxshot,800x600"
hx_wine $desktop HX88UUtil.exe </dev/null >/dev/null 2>&1 &
sleep 3   # the first program makes the desktop; the next ones must find it there
tour() { hx_wine $desktop hxtour.exe "$@" </dev/null >/dev/null 2>&1; }
tour open 15
tour page "$page"
[ -z "$button" ] || tour press "$page" "$button"
sleep "${3:-2}"   # let the page's next refresh land
mkdir -p "$(dirname "$out")"
import -window root -crop 800x600+0+0 +repage "$out"
{ tour tray-menu && tour menu-exit && tour wait-exit; } || true
echo "saved $out"
