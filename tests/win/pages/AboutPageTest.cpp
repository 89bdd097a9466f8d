// The About page in-process: its texts and colours.
#include <gtest/gtest.h>

#include "pages/win32/CPage_About.h"
#include "tests/win/pages/PagesTestSupport.h"

namespace hx::win {
namespace {

struct Colours {
    COLORREF background, text;
};

Colours ColoursOf(HWND page, int id, UINT request) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SendMessageA(page, request, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(::GetDlgItem(page, id)));
    const Colours colours{::GetBkColor(dc), ::GetTextColor(dc)};
    ::DeleteDC(dc);
    return colours;
}

TEST(AboutPage, ShowsItsVersionAndWhatIdentificationWrites) {
    test::HostWindow host;
    CPage_About page;
    ASSERT_NE(page.Create(host.Get()), nullptr);
    EXPECT_EQ(test::Text(page.Hwnd(), IDC_ABOUT_UTILITY_VERSION), "1.2.0.1");
    EXPECT_EQ(test::Text(page.Hwnd(), IDC_ABOUT_DRIVER_VERSION), "");
    EXPECT_EQ(test::Text(page.Hwnd(), IDC_ABOUT_MAC), "");
    page.SetDriverVersionText("1.2.1215.2004");
    page.SetMacAddressText("00:48:56:88:00:01");
    page.SetDriverVersionText("1.2.1215.2005");  // a later identification
    EXPECT_EQ(test::Text(page.Hwnd(), IDC_ABOUT_DRIVER_VERSION), "1.2.1215.2005");
    EXPECT_EQ(test::Text(page.Hwnd(), IDC_ABOUT_MAC), "00:48:56:88:00:01");
}

TEST(AboutPage, PaintsItsControlsInTheirColours) {
    test::HostWindow host;
    CPage_About page;
    ASSERT_NE(page.Create(host.Get()), nullptr);
    const struct { int id; COLORREF background, text; } cases[] = {
        {IDC_ABOUT_UTILITY_LABEL, RGB(255, 255, 240), RGB(0, 0, 0)},
        {IDC_ABOUT_MAC_LABEL, RGB(255, 255, 240), RGB(0, 0, 0)},
        {IDC_ABOUT_GROUP, RGB(255, 255, 240), RGB(128, 0, 255)},
        {IDC_ABOUT_UTILITY_VERSION, RGB(255, 255, 208), RGB(0, 0, 255)},
        {IDC_ABOUT_DRIVER_VERSION, RGB(255, 255, 208), RGB(0, 0, 255)},
        {IDC_ABOUT_MAC, RGB(255, 255, 208), RGB(0, 0, 255)},
    };
    for (const auto& c : cases) {
        const Colours colours = ColoursOf(page.Hwnd(), c.id, WM_CTLCOLORSTATIC);
        EXPECT_EQ(colours.background, c.background) << c.id;
        EXPECT_EQ(colours.text, c.text) << c.id;
    }
}

}  // namespace
}  // namespace hx::win
