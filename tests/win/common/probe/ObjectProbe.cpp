// hxprobe.dll: loaded into another process by a test (tests/win/common/ProcessProbe), it
// counts that process's GDI and USER objects and handles from inside, where Wine can tell
// them. Wine answers GetGuiResources and GetProcessHandleCount with 0 for any process, and
// keeps GDI objects, menus and icons in each process's own tables.
//
// The test runs HxProbeCount as a thread of the process and reads the figures it leaves in
// hxProbeFigures with ReadProcessMemory.
#include <windows.h>

#include "tests/win/common/GuiObjectCount.h"

namespace {

// Wine gives handles out as multiples of 4 from 4 up, lowest free first: past the last
// one in use only free values follow.
LONG ProbeHandles() {
    LONG count = 0;
    int free = 0;
    for (UINT_PTR value = 4; free < 1024; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            free = 0;
        } else {
            ++free;
        }
    }
    return count;
}

}  // namespace

extern "C" {

// GDI objects, USER objects, handles; each -1 until first counted.
__declspec(dllexport) volatile LONG hxProbeFigures[3] = {-1, -1, -1};
// The GDI objects by kind ("brush 3, font 12"), cut at the buffer's end.
__declspec(dllexport) char hxProbeGdiKinds[256] = {};

__declspec(dllexport) DWORD WINAPI HxProbeCount(void*) {
    const hx::test::GuiObjects objects = hx::test::CountGuiObjects();
    DWORD handles = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
    ::lstrcpynA(hxProbeGdiKinds, objects.byKind.c_str(), sizeof hxProbeGdiKinds);
    hxProbeFigures[0] = objects.gdi;
    hxProbeFigures[1] = objects.user;
    hxProbeFigures[2] = handles != 0 ? static_cast<LONG>(handles) : ProbeHandles();
    return 1;
}

}  // extern "C"
