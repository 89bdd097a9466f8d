#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "framework/win32/Dialog.h"
#include "framework/win32/Dpi.h"
#include "framework/win32/Handles.h"
#include "controls/win32/NavLabel.h"
#include "resources/resource.h"
#include "tests/win/common/UtilityProcess.h"

namespace hx::win {
namespace {

using namespace std::chrono_literals;

// The main window's template with two of its labels bound, recording the clicks. The
// labels take their cursor from the given help program (by default Windows' own).
class LabelDialog : public Dialog {
public:
    explicit LabelDialog(const std::string& helpProgram = {})
        : Dialog(IDD_MAIN), linkInfo(helpProgram), configuration(helpProgram) {}
    NavLabel linkInfo, configuration;
    std::vector<std::pair<int, int>> commands;  // id, notification code

protected:
    BOOL OnInitDialog() override {
        linkInfo.Attach(Hwnd(), IDC_NAV_LINK_INFO);
        configuration.Attach(Hwnd(), IDC_NAV_CONFIGURATION);
        return TRUE;
    }
    bool OnCommand(int id, int code, HWND) override {
        commands.emplace_back(id, code);
        return true;
    }
};

// The label painted on black into memory: how many pixels have exactly this colour.
int PixelsOfColour(HWND label, COLORREF colour) {
    RECT client{};
    ::GetClientRect(label, &client);
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(::CreateCompatibleDC(screen.Get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    SelectedObject selected(memory.Get(), bitmap.Get());
    ::FillRect(memory.Get(), &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (::GetPixel(memory.Get(), x, y) == colour) ++count;
    return count;
}

POINT CentreOnScreen(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

LOGFONTA FontOf(HWND hwnd) {
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

class NavLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(dialog.Create(nullptr), nullptr);
        ::ShowWindow(dialog.Hwnd(), SW_SHOW);
        test::PumpMessages();
        ::SetCursorPos(1000, 740);  // far from the labels
    }
    // The mouse moves onto the label: the cursor goes there and the label hears of it.
    void Hover(NavLabel& label) {
        const POINT centre = CentreOnScreen(label.Hwnd());
        ::SetCursorPos(centre.x, centre.y);
        POINT client = centre;
        ::ScreenToClient(label.Hwnd(), &client);
        ::SendMessageA(label.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    }
    void LeaveAndWaitForTheCheck() {
        ::SetCursorPos(1000, 740);
        test::PumpFor(300ms);
    }

    LabelDialog dialog;
};

TEST_F(NavLabelTest, TextColourIdleSelectedAndHovered) {
    NavLabel& label = dialog.linkInfo;
    struct Step {
        const char* what;
        std::function<void()> act;
        COLORREF shown;
        COLORREF absent;
    };
    const COLORREF khaki = NavLabel::kNormalColour, orange = NavLabel::kSelectedColour;
    const Step steps[] = {
        {"idle", [] {}, khaki, orange},
        {"selected", [&] { label.SetSelected(true); }, orange, khaki},
        {"deselected", [&] { label.SetSelected(false); }, khaki, orange},
        {"hovered", [&] { Hover(label); }, orange, khaki},
        {"mouse gone, before the check", [&] { ::SetCursorPos(1000, 740); }, orange, khaki},
        {"mouse gone, after the check", [&] { LeaveAndWaitForTheCheck(); }, khaki, orange},
        {"selected and hovered", [&] { label.SetSelected(true); Hover(label); }, orange, khaki},
        {"selected, mouse gone", [&] { LeaveAndWaitForTheCheck(); }, orange, khaki},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_GT(PixelsOfColour(label.Hwnd(), step.shown), 20) << step.what;
        EXPECT_EQ(PixelsOfColour(label.Hwnd(), step.absent), 0) << step.what;
    }
    EXPECT_FALSE(label.Hovering());
}

TEST_F(NavLabelTest, UnderlineModes) {
    NavLabel& label = dialog.configuration;
    EXPECT_EQ(FontOf(label.Hwnd()).lfWeight, FW_BOLD);
    EXPECT_TRUE(FontOf(label.Hwnd()).lfUnderline) << "underlined by default";

    label.SetUnderlineMode(NavLabel::kUnderlineHover);
    EXPECT_FALSE(FontOf(label.Hwnd()).lfUnderline);
    Hover(label);
    EXPECT_TRUE(FontOf(label.Hwnd()).lfUnderline) << "underlined while hovered";
    LeaveAndWaitForTheCheck();
    EXPECT_FALSE(FontOf(label.Hwnd()).lfUnderline);

    label.SetUnderlineMode(NavLabel::kUnderlineNever);
    Hover(label);
    EXPECT_FALSE(FontOf(label.Hwnd()).lfUnderline);
    EXPECT_EQ(FontOf(label.Hwnd()).lfWeight, FW_BOLD);
    LeaveAndWaitForTheCheck();
}

TEST_F(NavLabelTest, AClickReachesTheParentAsStnClicked) {
    HWND label = dialog.configuration.Hwnd();
    EXPECT_TRUE(::GetWindowLongA(label, GWL_STYLE) & SS_NOTIFY);
    ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    test::PumpMessages();
    ASSERT_FALSE(dialog.commands.empty());
    EXPECT_EQ(dialog.commands.front(), std::make_pair(IDC_NAV_CONFIGURATION, STN_CLICKED));
}

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// What the cursor is now: still the one set before, or another, told by its hot spot.
std::string CursorShown(HCURSOR before) {
    HCURSOR now = ::GetCursor();
    if (now == before) return "unchanged";
    ICONINFO info{};
    if (!::GetIconInfo(now, &info)) return "unreadable";
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    return "hot spot " + std::to_string(info.xHotspot) + "," + std::to_string(info.yHotspot);
}

TEST(NavLabelCursor, TheHelpProgramsHandOrNoCursorOfItsOwn) {
    // This test program carries a cursor 106 (HandCursor.rc) with its hot spot at (9, 0).
    const std::string program = ProgramPath();
    const std::string folder = program.substr(0, program.rfind('\\'));
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    const struct {
        const char* what;
        std::string helpProgram;
        const char* shown;
    } cases[] = {
        {"a help program with the cursor", program, "hot spot 9,0"},
        {"a help program without it", std::string(system) + "\\kernel32.dll", "unchanged"},
        {"no help program", folder + "\\winhlp32.exe", "unchanged"},
    };
    const HCURSOR before = ::LoadCursorA(nullptr, IDC_CROSS);
    for (const auto& c : cases) {
        LabelDialog dialog(c.helpProgram);
        ASSERT_NE(dialog.Create(nullptr), nullptr) << c.what;
        ::SetCursor(before);
        HWND label = dialog.linkInfo.Hwnd();
        ::SendMessageA(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(CursorShown(before), c.shown) << c.what;
    }
}

// Moved to a monitor of another DPI, a label makes its fonts at the height for that DPI and
// fits itself to its text in them, keeping its place.
TEST_F(NavLabelTest, AtAnotherDpiItsFontsAndSizeFollow) {
    NavLabel& label = dialog.configuration;
    const UINT dpi = WindowDpi(label.Hwnd());
    const LONG height = FontOf(label.Hwnd()).lfHeight;
    const auto placeOf = [&] {
        RECT r{};
        ::GetWindowRect(label.Hwnd(), &r);
        ::MapWindowPoints(nullptr, dialog.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT before = placeOf();

    label.ApplyDpi(dpi * 2);
    const LOGFONTA font = FontOf(label.Hwnd());
    EXPECT_NEAR(font.lfHeight, 2 * height, 1);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_TRUE(font.lfUnderline);
    SIZE text{};
    {
        WindowDc dc(label.Hwnd());
        SelectedObject selected(dc.Get(), reinterpret_cast<HFONT>(::SendMessageA(label.Hwnd(), WM_GETFONT, 0, 0)));
        ::GetTextExtentPoint32A(dc.Get(), "Configuration", 13, &text);
    }
    const RECT scaled = placeOf();
    EXPECT_EQ(scaled.right - scaled.left, text.cx);
    EXPECT_EQ(scaled.bottom - scaled.top, text.cy);
    EXPECT_GT(scaled.right - scaled.left, before.right - before.left);
    EXPECT_EQ(scaled.left, before.left);
    EXPECT_EQ(scaled.top, before.top);
}

// A label sizes itself to its text, keeping the edge or centre its alignment names.
TEST_F(NavLabelTest, AutoSizeKeepsTheAlignedEdge) {
    struct Case {
        DWORD style;
        const char* kept;
    };
    const Case cases[] = {{SS_LEFT, "left"}, {SS_RIGHT, "right"}, {SS_CENTER, "centre"},
                          {SS_LEFT | SS_CENTERIMAGE, "vertical centre"}};
    HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageA(dialog.Hwnd(), WM_GETFONT, 0, 0));
    int id = 2000;
    for (const Case& c : cases) {
        const RECT before{100, 150, 120, 190};
        HWND hwnd = ::CreateWindowExA(0, "STATIC", "A label wider than its box", WS_CHILD | WS_VISIBLE | c.style,
                                      before.left, before.top, before.right - before.left, before.bottom - before.top,
                                      dialog.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), nullptr, nullptr);
        ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
        NavLabel label;
        ASSERT_TRUE(label.AttachWindow(hwnd));
        RECT after{};
        ::GetWindowRect(hwnd, &after);
        ::MapWindowPoints(nullptr, dialog.Hwnd(), reinterpret_cast<POINT*>(&after), 2);

        SIZE text{};
        {
            WindowDc dc(hwnd);
            SelectedObject font(dc.Get(), reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)));
            ::GetTextExtentPoint32A(dc.Get(), "A label wider than its box", 26, &text);
        }
        EXPECT_EQ(after.right - after.left, text.cx) << c.kept;
        EXPECT_EQ(after.bottom - after.top, text.cy) << c.kept;
        const DWORD horizontal = c.style & SS_TYPEMASK;
        if (horizontal == SS_LEFT) {
            EXPECT_EQ(after.left, before.left) << c.kept;
        } else if (horizontal == SS_RIGHT) {
            EXPECT_EQ(after.right, before.right) << c.kept;
        } else {
            EXPECT_NEAR((after.left + after.right) / 2, 110, 1) << c.kept;
        }
        if (c.style & SS_CENTERIMAGE) {
            EXPECT_NEAR((after.top + after.bottom) / 2, 170, 1) << c.kept;
        } else {
            EXPECT_EQ(after.top, before.top) << c.kept;
        }
        ::DestroyWindow(hwnd);
    }
}

}  // namespace
}  // namespace hx::win
