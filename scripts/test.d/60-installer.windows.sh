# Sourced in each Windows lane of scripts/test.sh: the build's Windows installer, built (on
# every machine), then installed, started and uninstalled under Wine
# (scripts/check-installer.sh) where the build runs.
stage_start "installer of $preset"
installer_for() {  # installer_for <objdump format>: built, and for that machine
    local setup
    setup=$(scripts/installer.sh "$preset") && x86_64-w64-mingw32-objdump -f "$setup" | grep -q "file format $1"
}
if [ "$preset" = win64 ]; then
    check installer-x86_64 installer_for pei-x86-64
else
    check installer-i686 installer_for pei-i386
fi
if lane_runs; then
    check "$preset/installer-install-uninstall" scripts/check-installer.sh "$preset"
else
    lane_skip "$preset/installer-install-uninstall"
fi
stage_end
