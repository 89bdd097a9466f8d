// The main window, its pages and the profile editor at the screen's DPI: no label whole at
// 96 DPI is cut or wrapped, each meter fills its rectangle in proportion, the icons come at
// the DPI's sizes. The test command runs these at 96 DPI and, in a Wine prefix set to each,
// at 144 and 192 DPI; HX_EXPECT_DPI names the DPI the prefix must be at.
#include "tests/win/pages/PagesHarness.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "framework/win32/Dpi.h"
#include "controls/DpiScale.h"
#include "tests/win/common/Canvas.h"
#include "tests/win/pages/PagesTestSupport.h"

namespace hx::test {
namespace {

using DpiContext = HANDLE;
const DpiContext kUnaware = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-1));
constexpr int kPerMonitorAware = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE

template <typename Function>
Function User32(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), name)));
}
const auto g_threadContext = User32<DpiContext(WINAPI*)()>("GetThreadDpiAwarenessContext");
const auto g_setThreadContext = User32<DpiContext(WINAPI*)(DpiContext)>("SetThreadDpiAwarenessContext");
const auto g_awarenessOf = User32<int(WINAPI*)(DpiContext)>("GetAwarenessFromDpiAwarenessContext");

// A label's text as it shows in the label's own font: whether a wrapping static breaks it
// onto a second line, and how far its ink reaches on one line (a glyph's blank edge may pass
// the label's edge, its ink may not). Labels are static texts, group box captions and the
// texts beside radio buttons and check boxes.
struct Label {
    std::string text;
    bool wraps = false;
    SIZE ink{};
    SIZE room{};
    bool Whole() const { return !wraps && ink.cx <= room.cx && ink.cy <= room.cy; }
};

SIZE InkOf(HFONT font, const std::string& text, UINT format) {
    constexpr COLORREF kPaper = RGB(255, 255, 255);
    constexpr int kWidth = 1000, kHeight = 100;
    Canvas canvas(kWidth, kHeight, kPaper);
    ::SelectObject(canvas.Dc(), font);
    ::SetBkMode(canvas.Dc(), TRANSPARENT);
    RECT all{0, 0, kWidth, kHeight};
    ::DrawTextA(canvas.Dc(), text.c_str(), -1, &all, format | DT_NOCLIP);
    SIZE ink{kWidth, kHeight};
    while (ink.cx > 0 && canvas.Count(kPaper, {ink.cx - 1, 0, ink.cx, kHeight}) == kHeight) --ink.cx;
    while (ink.cy > 0 && canvas.Count(kPaper, {0, ink.cy - 1, kWidth, ink.cy}) == kWidth) --ink.cy;
    return ink;
}

bool MeasureLabel(HWND control, Label& label) {
    char cls[16] = {};
    ::GetClassNameA(control, cls, sizeof cls);
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    label.text = Text(control);
    RECT client{};
    ::GetClientRect(control, &client);
    label.room = {client.right, client.bottom};
    UINT format = DT_SINGLELINE;
    if (label.text.empty() || (style & WS_VISIBLE) == 0) return false;
    if (std::string(cls) == "Static") {
        const LONG type = style & SS_TYPEMASK;
        if (type > SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP) return false;
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
        RECT oneLine{}, wrapped{0, 0, client.right, 0};
        HDC dc = ::GetDC(control);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
        ::DrawTextA(dc, label.text.c_str(), -1, &oneLine, DT_CALCRECT | DT_SINGLELINE);
        ::DrawTextA(dc, label.text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK);
        ::SelectObject(dc, old);
        ::ReleaseDC(control, dc);
        label.wraps = type <= SS_RIGHT && wrapped.bottom > oneLine.bottom;
    } else if (std::string(cls) == "Button") {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX || type == BS_AUTOCHECKBOX)
            label.room.cx -= win::MetricForDpi(SM_CXMENUCHECK, win::WindowDpi(control));  // the box
        else if (type != BS_GROUPBOX)
            return false;
    } else {
        return false;
    }
    label.ink = InkOf(reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)), label.text, format);
    return true;
}

std::string Describe(const std::string& where, const Label& label) {
    std::ostringstream text;
    text << "\n  " << where << ": ";
    if (label.wraps) text << "wraps";
    else text << "ink " << label.ink.cx << "x" << label.ink.cy << " in " << label.room.cx << "x" << label.room.cy;
    return text.str();
}

// The labels of the pages' and the editor's templates as the dialog manager lays them out
// for a window of this thread's DPI awareness, by "<template> <id> <text>".
struct TemplateLayout {
    UINT dpi = 0;
    std::map<std::string, Label> labels;
};

struct Collecting {
    int templateId;
    TemplateLayout* layout;
};

BOOL CALLBACK CollectLabel(HWND control, LPARAM lParam) {
    auto* collecting = reinterpret_cast<Collecting*>(lParam);
    Label label;
    if (!MeasureLabel(control, label)) return TRUE;
    std::ostringstream key;
    key << "template " << collecting->templateId << " " << ::GetDlgCtrlID(control) << " \"" << label.text << "\"";
    collecting->layout->labels[key.str()] = label;
    return TRUE;
}

TemplateLayout LayOutTemplates() {
    TemplateLayout layout;
    HWND host = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    layout.dpi = win::WindowDpi(host);
    for (int id : {IDD_LINK_INFO, IDD_CONFIGURATION, IDD_ENCRYPTION, IDD_SITE_SURVEY, IDD_PROFILE, IDD_ABOUT,
                   IDD_PROFILE_EDITOR}) {
        HWND dialog = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), host, &PlainDialog, 0);
        Collecting collecting{id, &layout};
        ::EnumChildWindows(dialog, &CollectLabel, reinterpret_cast<LPARAM>(&collecting));
        ::DestroyWindow(dialog);
    }
    ::DestroyWindow(host);
    return layout;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    ::GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

class ScaleTest : public PagesHarness {
protected:
    void SetUp() override { Start(); }
    int Dpi() const { return static_cast<int>(win::WindowDpi(Window())); }
    int WindowIconWidth(WPARAM which) const {
        return IconWidth(reinterpret_cast<HICON>(::SendMessageA(Window(), WM_GETICON, which, 0)));
    }
};

TEST_F(ScaleTest, TheWindowIsPerMonitorAwareAtTheScreensDpi) {
    if (const char* expected = std::getenv("HX_EXPECT_DPI")) {
        EXPECT_EQ(Dpi(), std::atoi(expected));
    }
    EXPECT_EQ(Dpi(), static_cast<int>(win::SystemDpi()));
    // Wine tells per-monitor awareness from the system's, not its second version from the first.
    ASSERT_TRUE(g_threadContext && g_awarenessOf);
    EXPECT_EQ(g_awarenessOf(g_threadContext()), kPerMonitorAware);
}

// The templates are laid out twice: as for a program that knows only 96 DPI, and at the
// screen's DPI, in the same fonts. Every label whole in the first is whole in the second;
// the navigation labels, sized to their text in their own fonts, are whole.
TEST_F(ScaleTest, NoLabelWholeAt96DpiIsCutOrWrapped) {
    ASSERT_TRUE(g_setThreadContext);
    const DpiContext aware = g_setThreadContext(kUnaware);
    const TemplateLayout at96 = LayOutTemplates();
    g_setThreadContext(aware);
    ASSERT_EQ(at96.dpi, 96u);
    const TemplateLayout here = LayOutTemplates();
    ASSERT_EQ(static_cast<int>(here.dpi), Dpi());

    int wholeAt96 = 0;
    std::string cut;
    for (const auto& [key, label] : at96.labels) {
        if (!label.Whole()) continue;
        ++wholeAt96;
        const auto scaled = here.labels.find(key);
        if (scaled == here.labels.end()) cut += "\n  " + key + ": missing";
        else if (!scaled->second.Whole()) cut += Describe(key, scaled->second);
    }
    for (int id : {IDC_NAV_LINK_INFO, IDC_NAV_CONFIGURATION, IDC_NAV_ENCRYPTION, IDC_NAV_SITE_SURVEY,
                   IDC_NAV_PROFILE, IDC_NAV_ABOUT}) {
        Label label;
        ASSERT_TRUE(MeasureLabel(::GetDlgItem(Window(), id), label)) << id;
        if (!label.Whole()) cut += Describe("navigation label \"" + label.text + "\"", label);
    }
    EXPECT_GE(wholeAt96, 20) << "of " << at96.labels.size() << " labels";
    EXPECT_EQ(cut, "") << "at " << Dpi() << " DPI";
}

// The fill ends on the first band edge (a 215th of the width) at or past position % of the
// meter's width, and covers its height.
TEST_F(ScaleTest, MetersFillTheirRectangleInProportion) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (int position : {10, 50, 87, 100}) {
        LinkInfoView view{};
        view.qualityPosition = view.signalPosition = position;
        linkInfo.Show(view);
        for (HWND meter : {linkInfo.QualityMeter().Hwnd(), linkInfo.SignalMeter().Hwnd()}) {
            RECT client{};
            ::GetClientRect(meter, &client);
            Canvas canvas(client.right, client.bottom, face);
            canvas.PrintClient(meter);
            const int filled = client.right - canvas.Count(face, {0, client.bottom / 2, client.right, client.bottom / 2 + 1});
            const double share = position / 100.0 * client.right;
            SCOPED_TRACE(::testing::Message() << "meter " << ::GetDlgCtrlID(meter) << " at " << position << ", "
                                              << client.right << " wide at " << Dpi() << " DPI");
            EXPECT_GE(filled, static_cast<int>(share));
            EXPECT_LE(filled, share + client.right / 215.0 + 1);
            EXPECT_NE(canvas.Pixel(0, 0), face);
            EXPECT_NE(canvas.Pixel(0, client.bottom - 1), face);
        }
    }
}

TEST_F(ScaleTest, WindowAndTrayIconsComeAtTheSizesOfTheDpi) {
    const int smallSize = controls::ScaleForDpi(16, Dpi());
    EXPECT_EQ(WindowIconWidth(ICON_SMALL), smallSize);
    EXPECT_EQ(WindowIconWidth(ICON_BIG), controls::ScaleForDpi(32, Dpi()));
    for (int set = 0; set < main.Tray()->MaxIconSets(); ++set)
        EXPECT_EQ(IconWidth(main.Tray()->Set(set).pIcon[0].hIcon.Get()), smallSize) << "tray set " << set;
}

// On a monitor of another DPI the window takes the place Windows suggests, with its icons
// at that DPI's sizes.
TEST_F(ScaleTest, MovedToAnotherDpiTheWindowTakesTheSuggestedPlaceAndIcons) {
    const int dpi = 2 * Dpi();
    RECT window{};
    ::GetWindowRect(Window(), &window);
    const RECT suggested{40, 30, 40 + 2 * (window.right - window.left), 30 + 2 * (window.bottom - window.top)};
    ::SendMessageA(Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    ::GetWindowRect(Window(), &window);
    EXPECT_TRUE(::EqualRect(&window, &suggested));
    EXPECT_EQ(WindowIconWidth(ICON_SMALL), controls::ScaleForDpi(16, dpi));
    EXPECT_EQ(WindowIconWidth(ICON_BIG), controls::ScaleForDpi(32, dpi));
}

}  // namespace
}  // namespace hx::test
