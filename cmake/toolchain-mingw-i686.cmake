# Cross build for 32-bit Windows (the real target) with the MinGW-w64 posix-thread compilers.
# Its programs run under 32-bit Wine where the machine executes 32-bit code (scripts/test.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(HX_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER   /usr/bin/i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  /usr/bin/i686-w64-mingw32-windres)
set(HX_DLLTOOL         /usr/bin/i686-w64-mingw32-dlltool)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
