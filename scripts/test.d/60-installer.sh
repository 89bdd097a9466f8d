# Sourced by scripts/test.sh: the Windows installer, built from both Windows builds, and each
# one installed, started and uninstalled under Wine (scripts/check-installer.sh); the i686
# one under 32-bit Wine where this machine runs it.
stage_start "installer"
installer_for() {  # installer_for <preset> <objdump format>: built, and for that machine
    local setup
    setup=$(scripts/installer.sh "$1") && x86_64-w64-mingw32-objdump -f "$setup" | grep -q "file format $2"
}
check installer-x86_64 installer_for win64 pei-x86-64
check installer-i686 installer_for win32 pei-i386
check win64/installer-install-uninstall scripts/check-installer.sh win64
if [ -n "$HX_RUNS_32BIT" ]; then
    check win32/installer-install-uninstall scripts/check-installer.sh win32
else
    skip_32bit win32/installer-install-uninstall
fi
stage_end "installer stage"
