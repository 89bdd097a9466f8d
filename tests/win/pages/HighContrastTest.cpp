// High contrast turned on and off while the utility runs, as Windows announces it: what the
// utility paints itself (a navigation label, a page, a value field, a meter) takes the
// system's colours while it is on and its own again when it is off; the selected label stays
// marked by its underline when all labels share one colour.
#include "tests/win/pages/PagesHarness.h"

#include <cstdlib>
#include <iterator>

#include "controls/win32/SystemColours.h"
#include "tests/win/common/Canvas.h"

namespace hx::test {
namespace {

bool g_highContrast = false;
bool HighContrastQuery() { return g_highContrast; }

bool Underlined(HWND label) {
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfUnderline != 0;
}

// For a picture of the window in high contrast: HX_HOLD_WINDOW_MS keeps it on screen that
// long in the colours of a dark high-contrast scheme.
void HoldInDarkScheme(HWND window) {
    const char* hold = std::getenv("HX_HOLD_WINDOW_MS");
    if (hold == nullptr) return;
    const INT elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HOTLIGHT, COLOR_BTNFACE, COLOR_BTNTEXT};
    const COLORREF scheme[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(26, 235, 255), RGB(255, 255, 0), RGB(0, 0, 0),
                               RGB(255, 255, 255)};
    COLORREF before[std::size(elements)];
    for (size_t i = 0; i < std::size(elements); ++i) before[i] = ::GetSysColor(elements[i]);
    ::SetSysColors(static_cast<int>(std::size(elements)), elements, scheme);
    ::SendMessageA(window, WM_SYSCOLORCHANGE, 0, 0);
    for (DWORD until = ::GetTickCount() + std::atoi(hold); ::GetTickCount() < until; ::Sleep(20))
        for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageA(&msg);
    ::SetSysColors(static_cast<int>(std::size(elements)), elements, before);
}

TEST_F(PagesHarness, HighContrastPutsSystemColoursOnOwnSurfacesOnlyWhileItIsOn) {
    win::SetHighContrastQuery(&HighContrastQuery);
    const struct Restore { ~Restore() { win::SetHighContrastQuery(nullptr); } } restore;
    Start();
    state.link.linkQuality = 100;
    linkInfo.UpdateDisplay();
    const COLORREF hot = ::GetSysColor(COLOR_HOTLIGHT), window = ::GetSysColor(COLOR_WINDOW);
    struct Case { bool on; UINT message; COLORREF label, page, field; };
    const Case cases[] = {
        {true, WM_SETTINGCHANGE, hot, window, window},
        {false, WM_SETTINGCHANGE, win::NavLabel::kSelectedColour, win::kPageBackground, win::kValueBackground},
        {true, WM_SYSCOLORCHANGE, hot, window, window},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.on ? "on" : "off");
        g_highContrast = c.on;
        ::SendMessageA(Window(), c.message, c.message == WM_SETTINGCHANGE ? SPI_SETHIGHCONTRAST : 0, 0);
        HWND label = ::GetDlgItem(Window(), IDC_NAV_LINK_INFO), meter = linkInfo.QualityMeter().Hwnd();
        RECT area{};
        ::GetClientRect(label, &area);
        Canvas labelPixels(area.right, area.bottom, RGB(1, 2, 3));
        labelPixels.PrintClient(label);
        EXPECT_GT(labelPixels.Count(c.label, area), 20) << "the selected label's text";
        EXPECT_TRUE(Underlined(label));
        EXPECT_EQ(Underlined(::GetDlgItem(Window(), IDC_NAV_CONFIGURATION)), !c.on) << "another label";

        Canvas page(8, 8, RGB(1, 2, 3));
        ::SendMessageA(linkInfo.Hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(page.Dc()), 0);
        EXPECT_EQ(page.Pixel(4, 4), c.page);
        ::SendMessageA(linkInfo.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(page.Dc()),
                       reinterpret_cast<LPARAM>(ItemOf(linkInfo, IDC_LI_SSID)));
        EXPECT_EQ(::GetBkColor(page.Dc()), c.field);

        ::GetClientRect(meter, &area);
        Canvas meterPixels(area.right, area.bottom, RGB(1, 2, 3));
        meterPixels.PrintClient(meter);
        EXPECT_EQ(meterPixels.Count(::GetSysColor(COLOR_HIGHLIGHT), area), c.on ? area.right * area.bottom : 0)
            << "a full meter, all in the highlight colour";
    }
    HoldInDarkScheme(Window());
}

}  // namespace
}  // namespace hx::test
