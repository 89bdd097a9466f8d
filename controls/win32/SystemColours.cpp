#include "controls/win32/SystemColours.h"

namespace hx::win {
namespace {

bool AskWindows() {
    HIGHCONTRASTA setting{};
    setting.cbSize = sizeof setting;
    if (!::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0)) return false;
    return (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

HighContrastQuery g_query = &AskWindows;
int g_highContrast = -1;   // -1: not read yet

BOOL CALLBACK TellChild(HWND child, LPARAM) {
    ::SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

}  // namespace

bool HighContrastOn() {
    if (g_highContrast < 0) g_highContrast = g_query() ? 1 : 0;
    return g_highContrast == 1;
}

bool RefreshHighContrast() {
    const int before = g_highContrast;
    g_highContrast = g_query() ? 1 : 0;
    return before != g_highContrast;
}

void SetHighContrastQuery(HighContrastQuery query) {
    g_query = query ? query : &AskWindows;
    g_highContrast = -1;
}

int SystemColourIndex(controls::SystemColour colour) {
    switch (colour) {
    case controls::SystemColour::Window: return COLOR_WINDOW;
    case controls::SystemColour::WindowText: return COLOR_WINDOWTEXT;
    case controls::SystemColour::Highlight: return COLOR_HIGHLIGHT;
    case controls::SystemColour::HotLight: return COLOR_HOTLIGHT;
    }
    return COLOR_WINDOW;
}

COLORREF Resolve(controls::Surface surface, COLORREF designed) {
    const controls::ColourChoice choice = controls::ChooseColour(surface, HighContrastOn(), designed);
    return choice.fromSystem ? ::GetSysColor(SystemColourIndex(choice.system)) : choice.designed;
}

void SpreadColourChange(HWND topLevel) {
    ::EnumChildWindows(topLevel, &TellChild, 0);  // every descendant, not only the children
    ::RedrawWindow(topLevel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace hx::win
