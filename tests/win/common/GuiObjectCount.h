// How many GDI and USER objects this process holds.
//
// Windows answers GetGuiResources. Wine answers it with 0, so there the handle spaces are
// probed instead: Wine resolves a GDI handle by the index in its low 16 bits (a handle
// given with an empty upper half is taken as the object at that index), so GetObjectType
// over every index finds every live GDI object of the process; USER handles are even
// numbers from 0x20 up, and a handle there is a menu (IsMenu) or an icon or cursor
// (GetIconInfo) of this process; its windows are found by enumeration.
#pragma once

#include <windows.h>

#include <string>

namespace hx::test {

struct GuiObjects {
    int gdi = 0;
    int user = 0;
    std::string byKind;   // from the probe: how many of each kind, e.g. "brush 3, font 12"
    std::string Describe() const;
};

GuiObjects CountGuiObjects();
// "GetGuiResources" or "handle probe": which way the counts were taken.
const char* GuiObjectCountMethod();

}  // namespace hx::test
