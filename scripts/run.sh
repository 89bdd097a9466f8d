#!/usr/bin/env bash
# Builds the utility for 64-bit Windows and runs it under Wine against the default
# simulated world. With a display it starts the utility for you (it lives in the tray).
# Without one it runs it in Xvfb, saves a screenshot into build/screenshots and ends it.
set -eu
cd "$(dirname "$0")/.."
source scripts/packages.sh
source scripts/wine-env.sh
hx_install_packages
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" >/dev/null

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
hx_wine_setup build/win64
trap hx_wine_teardown EXIT
cd build/win64/bin
if [ "$headless" -eq 0 ]; then
    echo "Starting HX88UUtil.exe: look for its icon in the notification area."
    hx_wine HX88UUtil.exe
    exit 0
fi
mkdir -p ../../screenshots
hx_wine HX88UUtil.exe &
pid=$!
sleep 4
import -window root ../../screenshots/desktop.png
echo "Saved build/screenshots/desktop.png"
kill "$pid" 2>/dev/null || true
