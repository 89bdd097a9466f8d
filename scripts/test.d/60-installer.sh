# Sourced by scripts/test.sh: the Windows installer, built from both Windows builds, and the
# x86_64 one installed and uninstalled under Wine (scripts/check-installer.sh).
echo "== installer"
installer_for() {  # installer_for <preset> <objdump format>: built, and for that machine
    local setup
    setup=$(scripts/installer.sh "$1") && x86_64-w64-mingw32-objdump -f "$setup" | grep -q "file format $2"
}
check installer-x86_64 installer_for win64 pei-x86-64
check installer-i686 installer_for win32 pei-i386
check installer-install-uninstall scripts/check-installer.sh
