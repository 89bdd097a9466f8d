# Sourced by scripts/test.sh: checks of the built Windows products.
echo "== build checks"
i686_imports() {  # the 32-bit programs import the stand-ins' functions undecorated
    local dump
    dump=$(i686-w64-mingw32-objdump -p build/win32/bin/win_foundation.exe)
    grep -q "HexStrToBin$" <<<"$dump" && ! grep -q "HexStrToBin@" <<<"$dump"
}
check i686-undecorated-imports i686_imports
# imports_none <pattern> <why> <file...>: no file imports a DLL whose name matches the pattern
imports_none() {
    local pattern=$1 why=$2 f objdump_tool
    shift 2
    for f in "$@"; do
        [ -f "$f" ] || { echo "$f is missing"; return 1; }
        objdump_tool=x86_64-w64-mingw32-objdump
        [[ $f == build/win32/* ]] && objdump_tool=i686-w64-mingw32-objdump
        if $objdump_tool -p "$f" | grep "DLL Name" | grep -qiE "$pattern"; then
            echo "$f $why"
            return 1
        fi
    done
}
# Only system DLLs and our own are imported.
check no-compiler-dlls imports_none "libstdc|libgcc|libwinpthread|libgcrypt|libgpg" \
    "imports a compiler or library DLL" build/win{64,32}/bin/{HX88UUtil.exe,VUVAVO.dll,dot1x_dll.dll}
# The utility and hxctl load the two libraries when they start, if at all.
check no-stand-in-imports imports_none "vuvavo|dot1x_dll" \
    "imports VUVAVO.dll or dot1x_dll.dll: it would not start without them" build/win{64,32}/bin/{HX88UUtil,hxctl}.exe

