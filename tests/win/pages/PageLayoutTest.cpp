// The pages' labels read on one line at the template's widths with the font the system gives
// the templates' "MS Shell Dlg".
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resources/resource.h"
#include "tests/win/pages/PagesTestSupport.h"

namespace hx::test {
namespace {

struct Overflow {
    HDC dc;
    std::string found;
};

BOOL CALLBACK CheckLabel(HWND control, LPARAM lParam) {
    auto* check = reinterpret_cast<Overflow*>(lParam);
    char cls[16] = {}, text[128] = {};
    ::GetClassNameA(control, cls, sizeof cls);
    ::GetWindowTextA(control, text, sizeof text);
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    if (::lstrcmpiA(cls, "Static") != 0 || text[0] == '\0' || (style & WS_VISIBLE) == 0) return TRUE;
    RECT box{};
    ::GetClientRect(control, &box);
    RECT needed = box;
    const int height = ::DrawTextA(check->dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(check->dc, &metrics);
    if (height > metrics.tmHeight) check->found += " \"" + std::string(text) + "\"";
    return TRUE;
}

TEST(PageLayout, LabelsReadOnOneLine) {
    HWND parent = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    for (int page : {IDD_LINK_INFO, IDD_CONFIGURATION, IDD_SITE_SURVEY, IDD_ENCRYPTION, IDD_ABOUT, IDD_PROFILE,
                     IDD_PROFILE_EDITOR}) {
        HWND dialog = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(page), parent,
                                           &PlainDialog, 0);
        ASSERT_NE(dialog, nullptr);
        HDC dc = ::GetDC(dialog);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(dialog, WM_GETFONT, 0, 0)));
        char face[64] = {};
        ::GetTextFaceA(dc, sizeof face, face);
        Overflow check{dc, ""};
        ::EnumChildWindows(dialog, &CheckLabel, reinterpret_cast<LPARAM>(&check));
        EXPECT_EQ(check.found, "") << "page " << page << " in " << face << ": these labels wrap";
        ::SelectObject(dc, old);
        ::ReleaseDC(dialog, dc);
        ::DestroyWindow(dialog);
    }
    ::DestroyWindow(parent);
}

}  // namespace
}  // namespace hx::test
