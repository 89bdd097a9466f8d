#!/usr/bin/env bash
# Saves a picture of every page of the utility as a user sees it on a scaled screen, under
# Wine against the default simulated world (in a virtual desktop with a taskbar, so the
# window has its frame):
#   scripts/screenshots-scaled.sh [dpi] [folder]
# The DPI defaults to 144 (150 %), the folder to docs/screenshots/<dpi>dpi. The Wine prefix
# is one of its own (build/win64/wineprefix-dpi), set to that DPI; the utility starts as on
# a first start, with nothing stored.
set -eu
dpi=${1:-144}
cd "$(dirname "$0")/.."
ROOT=$(pwd)
shots=$(realpath -m "${2:-docs/screenshots/${dpi}dpi}")
source scripts/packages.sh
source scripts/wine-env.sh
hx_install_packages
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target HX88UUtil VUVAVO dot1x_dll hxtour >/dev/null

mkdir -p "$shots"
export HX_FORCE_XVFB=1
hx_wine_setup build/win64 wineprefix-dpi
source scripts/tour-desktop.sh
hx_wine_dpi "$dpi"
hx_wine reg delete 'HKCU\Software\Tessaro\HX88UUtil' /f </dev/null >/dev/null 2>&1 || true

cd build/win64/bin
tour_start hxscaled 1000x740

LI_STATUS=1000  # the Link Info page's status field
step open 20
step wait-text linkinfo $LI_STATUS "Associated BSSID" 15
shot 1-link-info 2
step page configuration
shot 2-configuration
step page encryption
shot 3-encryption
step page sitesurvey
step wait-rows 15
shot 4-site-survey
step page profile
shot 5-profile
step page about
shot 6-about
step tray-menu
step menu-exit
step wait-exit 10
tour_ended
