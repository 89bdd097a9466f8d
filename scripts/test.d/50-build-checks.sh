# Sourced by scripts/test.sh: checks of the built Windows products.
echo "== build checks"
i686_imports() {  # the 32-bit programs import the stand-ins' functions undecorated
    local dump
    dump=$(i686-w64-mingw32-objdump -p build/win32/bin/win_foundation.exe)
    grep -q "HexStrToBin$" <<<"$dump" && ! grep -q "HexStrToBin@" <<<"$dump"
}
check i686-undecorated-imports i686_imports
no_compiler_dlls() {  # only system DLLs and our own are imported
    local f
    for f in build/win64/bin/HX88UUtil.exe build/win64/bin/VUVAVO.dll build/win64/bin/dot1x_dll.dll \
             build/win32/bin/HX88UUtil.exe build/win32/bin/VUVAVO.dll build/win32/bin/dot1x_dll.dll; do
        [ -f "$f" ] || { echo "$f is missing"; return 1; }
        objdump_tool=x86_64-w64-mingw32-objdump
        [[ $f == build/win32/* ]] && objdump_tool=i686-w64-mingw32-objdump
        if $objdump_tool -p "$f" | grep "DLL Name" | grep -qiE "libstdc|libgcc|libwinpthread|libgcrypt|libgpg"; then
            echo "$f imports a compiler or library DLL"
            return 1
        fi
    done
}
check no-compiler-dlls no_compiler_dlls
no_stand_in_imports() {  # the utility and hxctl load the two libraries when they start, if at all
    local f objdump_tool
    for f in build/win64/bin/HX88UUtil.exe build/win64/bin/hxctl.exe \
             build/win32/bin/HX88UUtil.exe build/win32/bin/hxctl.exe; do
        objdump_tool=x86_64-w64-mingw32-objdump
        [[ $f == build/win32/* ]] && objdump_tool=i686-w64-mingw32-objdump
        if $objdump_tool -p "$f" | grep "DLL Name" | grep -qiE "vuvavo|dot1x_dll"; then
            echo "$f imports VUVAVO.dll or dot1x_dll.dll: it would not start without them"
            return 1
        fi
    done
}
check no-stand-in-imports no_stand_in_imports

