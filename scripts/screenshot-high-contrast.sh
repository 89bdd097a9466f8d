#!/usr/bin/env bash
# Saves a picture of the main window (Link Info page) in a dark high-contrast scheme, as the
# high-contrast test of win_pages.exe holds it on screen under Xvfb:
#   scripts/screenshot-high-contrast.sh <file.png> [crop geometry, e.g. 600x400+0+0]
# Needs a built build/win64 (cmake --build --preset win64).
set -eu
out=$(realpath -m "$1")
crop=${2:-}
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
export HX_FORCE_XVFB=1
hx_wine_setup build/win64
trap hx_wine_teardown EXIT
(cd build/win64/bin && HX_HOLD_WINDOW_MS=8000 hx_wine win_pages.exe --gtest_filter='*HighContrast*' \
    </dev/null >/dev/null 2>&1) &
held=$!
sleep 6
mkdir -p "$(dirname "$out")"
if [ -n "$crop" ]; then import -window root -crop "$crop" +repage "$out"; else import -window root "$out"; fi
wait "$held"
echo "saved $out"
