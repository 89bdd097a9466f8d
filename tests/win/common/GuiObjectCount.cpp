#include "tests/win/common/GuiObjectCount.h"

#include <iterator>

namespace hx::test {
namespace {

bool SystemCounts() {
    return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS) != 0;
}

// The live GDI objects, and how many of each kind there are.
int ProbeGdiObjects(std::string& byKind) {
    static const char* const kinds[] = {"", "pen", "brush", "DC", "metafile DC", "palette", "font", "bitmap",
                                        "region", "metafile", "memory DC", "extended pen", "enhanced metafile DC",
                                        "enhanced metafile", "colour space"};
    int perKind[std::size(kinds)] = {};
    int count = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index) {
        const DWORD kind = ::GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (kind == 0) continue;
        ++count;
        if (kind < std::size(kinds)) ++perKind[kind];
    }
    for (size_t kind = 1; kind < std::size(kinds); ++kind) {
        if (perKind[kind] == 0) continue;
        if (!byKind.empty()) byKind += ", ";
        byKind += std::string(kinds[kind]) + " " + std::to_string(perKind[kind]);
    }
    return count;
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM data) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == ::GetCurrentProcessId()) ++*reinterpret_cast<int*>(data);
    return TRUE;
}

// A window and its descendants.
BOOL CALLBACK CountOwnTree(HWND window, LPARAM data) {
    CountOwnWindow(window, data);
    ::EnumChildWindows(window, &CountOwnWindow, data);
    return TRUE;
}

// This process's windows: every top-level and message-only window and their descendants.
// (Probing the handle space with IsWindow costs a server call for every free handle.)
int CountOwnWindows() {
    int count = 0;
    const auto data = reinterpret_cast<LPARAM>(&count);
    ::EnumWindows(&CountOwnTree, data);
    for (HWND window = ::FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
         window = ::FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr))
        CountOwnTree(window, data);
    return count;
}

int ProbeUserObjects() {
    int count = CountOwnWindows();
    for (UINT_PTR value = 0x20; value <= 0xFFFE; value += 2) {
        const auto handle = reinterpret_cast<HANDLE>(value);
        if (::IsMenu(static_cast<HMENU>(handle))) {
            ++count;
        } else {
            ICONINFO info{};
            if (::GetIconInfo(static_cast<HICON>(handle), &info)) {
                ++count;
                if (info.hbmMask) ::DeleteObject(info.hbmMask);
                if (info.hbmColor) ::DeleteObject(info.hbmColor);
            }
        }
    }
    return count;
}

}  // namespace

std::string GuiObjects::Describe() const {
    return std::to_string(gdi) + " GDI" + (byKind.empty() ? "" : " (" + byKind + ")") + ", " +
           std::to_string(user) + " USER";
}

GuiObjects CountGuiObjects() {
    if (SystemCounts()) {
        GuiObjects objects;
        objects.gdi = static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
        objects.user = static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
        return objects;
    }
    // USER first: its icon probe makes and deletes bitmaps of its own.
    GuiObjects objects;
    objects.user = ProbeUserObjects();
    objects.gdi = ProbeGdiObjects(objects.byKind);
    return objects;
}

const char* GuiObjectCountMethod() { return SystemCounts() ? "GetGuiResources" : "handle probe"; }

}  // namespace hx::test
