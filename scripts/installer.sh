#!/usr/bin/env bash
# Builds the Windows installer from a Windows build's four files:
#   scripts/installer.sh [win64|win32]    (default win64)
# writes build/installer/HX88UUtil-1.2.0.1-<x86_64|i686>-setup.exe and prints its path.
# The build must exist (cmake --build --preset <preset>).
set -eu
cd "$(dirname "$0")/.."
preset=${1:-win64}
case "$preset" in
    win64) arch=amd64; machine=x86_64 ;;
    win32) arch=x86; machine=i686 ;;
    *) echo "usage: scripts/installer.sh [win64|win32]" >&2; exit 2 ;;
esac
root=$(pwd)
bin="$root/build/$preset/bin"
for f in HX88UUtil.exe hxctl.exe VUVAVO.dll dot1x_dll.dll; do
    [ -f "$bin/$f" ] || { echo "missing $bin/$f: build the $preset preset first" >&2; exit 1; }
done
mkdir -p build/installer
out="$root/build/installer/HX88UUtil-1.2.0.1-$machine-setup.exe"
makensis -V2 -DBIN_DIR="$bin" -DOUT_FILE="$out" -DARCH="$arch" installer/HX88UUtil.nsi >&2
echo "$out"
