// High contrast turned on and off while the utility runs, as Windows announces it: what the
// utility paints itself (a navigation label, a value field, a page, a meter) takes the
// system's colours while it is on and its own colours again when it is off; the selected
// label stays marked by its underline when all labels share one colour.
#include "tests/win/pages/PagesHarness.h"

#include <cstdlib>
#include <iterator>

#include "controls/win32/SystemColours.h"
#include "tests/win/common/Canvas.h"

namespace hx::test {
namespace {

bool g_highContrast = false;
bool HighContrastQuery() { return g_highContrast; }

class HighContrastTest : public PagesHarness {
protected:
    void SetUp() override {
        win::SetHighContrastQuery(&HighContrastQuery);
        Start();
    }
    void TearDown() override { win::SetHighContrastQuery(nullptr); }
    void Switch(bool on, UINT message) {
        g_highContrast = on;
        ::SendMessageA(Window(), message, message == WM_SETTINGCHANGE ? SPI_SETHIGHCONTRAST : 0, 0);
        ::UpdateWindow(Window());
    }
    bool Underlined(int labelId) const {
        LOGFONTA font{};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendDlgItemMessageA(Window(), labelId, WM_GETFONT, 0, 0)), sizeof font, &font);
        return font.lfUnderline != 0;
    }
};

TEST_F(HighContrastTest, OwnSurfacesTakeSystemColoursOnlyWhileItIsOn) {
    state.link.connectState = 0;
    state.link.linkQuality = 100;
    linkInfo.UpdateDisplay();
    struct Case { bool on; UINT message; COLORREF label, page, field; bool othersUnderlined; };
    const COLORREF hot = ::GetSysColor(COLOR_HOTLIGHT), window = ::GetSysColor(COLOR_WINDOW);
    const Case cases[] = {
        {true, WM_SETTINGCHANGE, hot, window, window, false},
        {false, WM_SETTINGCHANGE, win::NavLabel::kSelectedColour, win::kPageBackground, win::kValueBackground, true},
        {true, WM_SYSCOLORCHANGE, hot, window, window, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.on ? "on" : "off");
        Switch(c.on, c.message);
        HWND label = ::GetDlgItem(Window(), IDC_NAV_LINK_INFO);
        RECT area{};
        ::GetClientRect(label, &area);
        Canvas labelPixels(area.right, area.bottom, RGB(1, 2, 3));
        labelPixels.PrintClient(label);
        EXPECT_GT(labelPixels.Count(c.label, area), 20) << "the selected label's text";
        EXPECT_TRUE(Underlined(IDC_NAV_LINK_INFO));
        EXPECT_EQ(Underlined(IDC_NAV_CONFIGURATION), c.othersUnderlined);

        Canvas page(8, 8, RGB(1, 2, 3));
        ::SendMessageA(linkInfo.Hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(page.Dc()), 0);
        EXPECT_EQ(page.Pixel(4, 4), c.page);
        ::SendMessageA(linkInfo.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(page.Dc()),
                       reinterpret_cast<LPARAM>(ItemOf(linkInfo, IDC_LI_SSID)));
        EXPECT_EQ(::GetBkColor(page.Dc()), c.field);

        HWND meter = linkInfo.QualityMeter().Hwnd();
        ::GetClientRect(meter, &area);
        Canvas meterPixels(area.right, area.bottom, RGB(1, 2, 3));
        meterPixels.PrintClient(meter);
        const int highlighted = meterPixels.Count(::GetSysColor(COLOR_HIGHLIGHT), area);
        EXPECT_EQ(highlighted, c.on ? area.right * area.bottom : 0) << "a full meter, in one colour";
    }
    // For a picture of the window in high contrast: HX_HOLD_WINDOW_MS keeps it on screen in
    // the colours of a dark high-contrast scheme.
    if (const char* hold = std::getenv("HX_HOLD_WINDOW_MS")) {
        const INT elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                                COLOR_HOTLIGHT, COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_GRAYTEXT};
        const COLORREF scheme[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(26, 235, 255), RGB(0, 0, 0),
                                   RGB(255, 255, 0), RGB(0, 0, 0), RGB(255, 255, 255), RGB(63, 242, 63)};
        COLORREF before[std::size(elements)];
        for (size_t i = 0; i < std::size(elements); ++i) before[i] = ::GetSysColor(elements[i]);
        ::SetSysColors(static_cast<int>(std::size(elements)), elements, scheme);
        ::SendMessageA(Window(), WM_SYSCOLORCHANGE, 0, 0);
        const DWORD until = ::GetTickCount() + static_cast<DWORD>(std::atoi(hold));
        for (MSG msg; ::GetTickCount() < until; ::Sleep(20))
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::SetSysColors(static_cast<int>(std::size(elements)), elements, before);
    }
}

}  // namespace
}  // namespace hx::test
