// The main window, its pages and the profile editor at the screen's DPI: no label is cut or
// wrapped, each meter fills its rectangle in proportion, and the window and tray icons come
// at the sizes of the DPI. The test command runs these at 96, 144 and 192 DPI, each in a
// Wine prefix set to that DPI (HX_EXPECT_DPI names it, so that a prefix left at another DPI
// fails rather than passes).
#include "tests/win/pages/PagesHarness.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "app/win32/framework/Dpi.h"
#include "controls/DpiScale.h"

namespace hx::test {
namespace {

using DpiContext = HANDLE;
using GetThreadDpiAwarenessContextFn = DpiContext(WINAPI*)();
using GetAwarenessFromDpiAwarenessContextFn = int(WINAPI*)(DpiContext);
constexpr int kPerMonitorAware = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE

template <typename Function>
Function User32(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), name)));
}

std::string ClassOf(HWND hwnd) {
    char name[32] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// What a label shows of its text in its own font: whether a static breaks it onto a second
// line, and how far its ink reaches on one line (a glyph's blank edge may pass the label's
// edge; its ink may not). Labels are static texts, group box captions, and the texts of
// radio buttons and check boxes beside their box.
struct Label {
    std::string text;
    bool wraps = false;
    SIZE ink{};
    SIZE room{};
    bool Whole() const { return !wraps && ink.cx <= room.cx && ink.cy <= room.cy; }
};

// The extent of the ink of one line of text drawn in the font from the origin.
SIZE InkOf(HFONT font, const std::string& text, UINT format) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    RECT extent{};
    ::DrawTextA(dc, text.c_str(), -1, &extent, format | DT_CALCRECT);
    const int width = extent.right + 16, height = extent.bottom + 16;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, text.c_str(), -1, &all, format | DT_NOCLIP);
    ::GdiFlush();
    SIZE ink{};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((static_cast<const DWORD*>(bits)[y * width + x] & 0xFFFFFF) == 0xFFFFFF) continue;
            ink.cx = std::max<LONG>(ink.cx, x + 1);
            ink.cy = std::max<LONG>(ink.cy, y + 1);
        }
    }
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::SelectObject(dc, oldFont);
    ::DeleteDC(dc);
    return ink;
}

bool MeasureLabel(HWND control, Label& label) {
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    label.text = Text(control);
    if (label.text.empty() || (style & WS_VISIBLE) == 0) return false;
    const std::string cls = ClassOf(control);
    RECT client{};
    ::GetClientRect(control, &client);
    label.room = {client.right, client.bottom};
    UINT format = DT_SINGLELINE;
    bool wordWrap = false;
    if (cls == "Static") {
        const LONG type = style & SS_TYPEMASK;
        if (type > SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP) return false;
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
        wordWrap = type <= SS_RIGHT;
    } else if (cls == "Button") {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
            label.room.cx -= win::MetricForDpi(SM_CXMENUCHECK, win::WindowDpi(control));
        } else if (type != BS_GROUPBOX) {
            return false;
        }
    } else {
        return false;
    }
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    label.ink = InkOf(font, label.text, format);
    if (wordWrap) {
        HDC dc = ::GetDC(control);
        HGDIOBJ old = ::SelectObject(dc, font);
        RECT oneLine{}, wrapped{0, 0, client.right, 0};
        ::DrawTextA(dc, label.text.c_str(), -1, &oneLine, DT_CALCRECT | DT_SINGLELINE);
        ::DrawTextA(dc, label.text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK);
        label.wraps = wrapped.bottom > oneLine.bottom;
        ::SelectObject(dc, old);
        ::ReleaseDC(control, dc);
    }
    return true;
}

std::string Describe(const std::string& where, const Label& label) {
    std::ostringstream text;
    text << "\n  " << where;
    if (label.wraps) text << ": wraps";
    else text << ": ink " << label.ink.cx << "x" << label.ink.cy << " in " << label.room.cx << "x" << label.room.cy;
    return text.str();
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The labels of the pages' and the profile editor's templates as the dialog manager lays them
// out for a window of this thread's DPI awareness, by "<template> <id> <text>".
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
    if (MeasureLabel(control, label)) {
        std::ostringstream key;
        key << "template " << collecting->templateId << " " << ::GetDlgCtrlID(control) << " \"" << label.text << "\"";
        collecting->layout->labels[key.str()] = label;
    }
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
        if (dialog != nullptr) ::EnumChildWindows(dialog, &CollectLabel, reinterpret_cast<LPARAM>(&collecting));
        ::DestroyWindow(dialog);
    }
    ::DestroyWindow(host);
    return layout;
}

// Windows made on this thread while it lives are laid out for 96 DPI, as for a program that
// knows no other DPI.
class LaidOutAt96Dpi {
public:
    LaidOutAt96Dpi() { previous_ = set_ ? set_(kUnaware) : nullptr; }
    ~LaidOutAt96Dpi() {
        if (previous_ != nullptr) set_(previous_);
    }

private:
    using SetThreadDpiAwarenessContextFn = DpiContext(WINAPI*)(DpiContext);
    const DpiContext kUnaware = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-1));
    const SetThreadDpiAwarenessContextFn set_ = User32<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
    DpiContext previous_ = nullptr;
};

class ScaleTest : public PagesHarness {
protected:
    void SetUp() override { Start(); }
    UINT Dpi() const { return win::WindowDpi(Window()); }
};

TEST_F(ScaleTest, TheWindowIsPerMonitorAwareAtTheScreensDpi) {
    if (const char* expected = std::getenv("HX_EXPECT_DPI")) {
        EXPECT_EQ(Dpi(), static_cast<UINT>(std::atoi(expected)));
    }
    EXPECT_EQ(Dpi(), win::SystemDpi());
    // Wine tells per-monitor awareness from the system's, not the second version from the first.
    const auto current = User32<GetThreadDpiAwarenessContextFn>("GetThreadDpiAwarenessContext");
    const auto awareness = User32<GetAwarenessFromDpiAwarenessContextFn>("GetAwarenessFromDpiAwarenessContext");
    ASSERT_TRUE(current && awareness);
    EXPECT_EQ(awareness(current()), kPerMonitorAware) << "the manifest asks for per-monitor awareness";
}

// Every label whole at 96 DPI (the same templates laid out for 96 DPI, in the same fonts) is
// whole here; the navigation labels, sized to their text in their own fonts, are whole.
TEST_F(ScaleTest, NoLabelWholeAt96DpiIsCutOrWrapped) {
    TemplateLayout at96;
    {
        LaidOutAt96Dpi unaware;
        at96 = LayOutTemplates();
    }
    ASSERT_EQ(at96.dpi, 96u);
    const TemplateLayout here = LayOutTemplates();
    ASSERT_EQ(here.dpi, Dpi());
    ASSERT_EQ(here.labels.size(), at96.labels.size());

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

// The width of an icon's image.
int IconWidth(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    ::GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

HICON WindowIcon(HWND hwnd, WPARAM which) {
    return reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_GETICON, which, 0));
}

// Columns of the middle row the meter paints in another colour than the button face, and
// whether the first column is painted from the top row to the bottom one.
struct MeterFill {
    int width = 0;
    int filled = 0;
    bool fullHeight = false;
};

MeterFill PaintedFill(HWND meter) {
    RECT client{};
    ::GetClientRect(meter, &client);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::SendMessageA(meter, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::GdiFlush();
    const auto pixel = [&](int x, int y) {
        const DWORD bgr = static_cast<const DWORD*>(bits)[y * client.right + x] & 0xFFFFFF;
        return RGB(bgr >> 16, (bgr >> 8) & 0xFF, bgr & 0xFF);
    };
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    MeterFill fill{client.right};
    for (int x = 0; x < client.right; ++x)
        if (pixel(x, client.bottom / 2) != face) ++fill.filled;
    fill.fullHeight = pixel(0, 0) != face && pixel(0, client.bottom - 1) != face;
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return fill;
}

TEST_F(ScaleTest, MetersFillTheirRectangleInProportion) {
    for (int position : {10, 50, 87, 100}) {
        LinkInfoView view{};
        view.qualityPosition = view.signalPosition = position;
        linkInfo.Show(view);
        for (HWND meter : {linkInfo.QualityMeter().Hwnd(), linkInfo.SignalMeter().Hwnd()}) {
            const MeterFill fill = PaintedFill(meter);
            SCOPED_TRACE(::testing::Message() << "meter " << ::GetDlgCtrlID(meter) << " at " << position << ", "
                                              << fill.width << " wide at " << Dpi() << " DPI");
            // The fill ends on the first band edge (a 215th of the width) at or past the share.
            const double share = position / 100.0 * fill.width;
            EXPECT_GE(fill.filled, static_cast<int>(share));
            EXPECT_LE(fill.filled, share + fill.width / 215.0 + 1);
            EXPECT_TRUE(fill.fullHeight);
        }
    }
}

TEST_F(ScaleTest, WindowAndTrayIconsComeAtTheSizesOfTheDpi) {
    const int smallSize = controls::ScaleForDpi(16, static_cast<int>(Dpi()));
    EXPECT_EQ(IconWidth(WindowIcon(Window(), ICON_SMALL)), smallSize);
    EXPECT_EQ(IconWidth(WindowIcon(Window(), ICON_BIG)), controls::ScaleForDpi(32, static_cast<int>(Dpi())));
    for (int set = 0; set < main.Tray()->MaxIconSets(); ++set)
        EXPECT_EQ(IconWidth(main.Tray()->Set(set).pIcon[0].hIcon.Get()), smallSize) << "tray set " << set;
}

// On a monitor of another DPI the window takes the place Windows suggests and its icons are
// made again at that DPI's sizes.
TEST_F(ScaleTest, MovedToAnotherDpiTheWindowTakesTheSuggestedPlaceAndIcons) {
    const int dpi = 2 * static_cast<int>(Dpi());
    RECT window{};
    ::GetWindowRect(Window(), &window);
    const RECT suggested{40, 30, 40 + 2 * (window.right - window.left), 30 + 2 * (window.bottom - window.top)};
    ::SendMessageA(Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    ::GetWindowRect(Window(), &window);
    EXPECT_TRUE(::EqualRect(&window, &suggested));
    EXPECT_EQ(IconWidth(WindowIcon(Window(), ICON_SMALL)), controls::ScaleForDpi(16, dpi));
    EXPECT_EQ(IconWidth(WindowIcon(Window(), ICON_BIG)), controls::ScaleForDpi(32, dpi));
}

}  // namespace
}  // namespace hx::test
