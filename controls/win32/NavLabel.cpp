#include "controls/win32/NavLabel.h"

#include <string>

#include "framework/win32/Dpi.h"
#include "framework/win32/Reflect.h"
#include "controls/ColourScheme.h"
#include "controls/DpiScale.h"
#include "controls/win32/SystemColours.h"

namespace hx::win {
namespace {

constexpr int kHandCursorId = 106;
// How far below the label a hover check repaints, at 96 DPI.
constexpr int kHoverRedrawBelow = 10;
// How far the focus cue lies outside the label, at 96 DPI.
constexpr int kFocusCueMargin = 2;

HFONT FontOf(HWND hwnd) {
    if (auto font = reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0))) return font;
    if (auto font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))) return font;
    return static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
}

std::string WindowText(HWND hwnd) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void NavLabel::OnAttached() {
    HWND hwnd = Hwnd();
    ::SetWindowLongA(hwnd, GWL_STYLE, ::GetWindowLongA(hwnd, GWL_STYLE) | SS_NOTIFY);

    ::GetObjectA(FontOf(hwnd), sizeof baseFont_, &baseFont_);
    baseDpi_ = WindowDpi(hwnd);
    MakeFonts(baseDpi_);
    KeepOwnFontOnDpiChange(hwnd);

    AutoSize();
    UseFont(underlineMode_ == kUnderlineAlways);
    Redraw();
}

// Bold, and bold underlined, from the control's own font, with its height for dpi.
void NavLabel::MakeFonts(UINT dpi) {
    const LONG height = controls::RescaleForDpi(baseFont_.lfHeight, static_cast<int>(baseDpi_), static_cast<int>(dpi));
    LOGFONTA bold = baseFont_;
    bold.lfHeight = height;
    bold.lfWeight = FW_BOLD;
    boldFont_.Reset(::CreateFontIndirectA(&bold));
    LOGFONTA underlined{};
    underlined.lfHeight = height;
    underlined.lfWeight = FW_BOLD;
    underlined.lfUnderline = TRUE;
    underlined.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(underlined.lfFaceName, baseFont_.lfFaceName, LF_FACESIZE);
    underlinedFont_.Reset(::CreateFontIndirectA(&underlined));
    fontDpi_ = dpi;
}

void NavLabel::ApplyDpi(UINT dpi) {
    if (Hwnd() == nullptr || dpi == fontDpi_) return;
    // The label shows one of the fonts being replaced: it gets the new one before the old goes.
    UniqueFont oldBold(boldFont_.Release()), oldUnderlined(underlinedFont_.Release());
    MakeFonts(dpi);
    UseFont(underlineMode_ == kUnderlineAlways || (underlineMode_ == kUnderlineHover && hovering_));
    AutoSize();
    Redraw();
}

void NavLabel::AutoSize() {
    HWND hwnd = Hwnd();
    if (!autoSize_ || hwnd == nullptr) return;
    HWND parent = ::GetParent(hwnd);
    RECT window{}, client{};
    ::GetWindowRect(hwnd, &window);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    ::GetClientRect(hwnd, &client);

    SIZE text{};
    {
        WindowDc dc(hwnd);
        SelectedObject font(dc.Get(), underlinedFont_.Get());
        const std::string label = WindowText(hwnd);
        ::GetTextExtentPoint32A(dc.Get(), label.c_str(), static_cast<int>(label.size()), &text);
    }
    const int width = text.cx + (window.right - window.left) - (client.right - client.left);
    const int height = text.cy + (window.bottom - window.top) - (client.bottom - client.top);

    const LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
    int top = window.top;
    if (style & SS_CENTERIMAGE) top = (window.top + window.bottom) / 2 - height / 2;
    int left = window.left;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: left = (window.left + window.right) / 2 - width / 2; break;
    case SS_RIGHT: left = window.right - width; break;
    default: break;
    }
    ::SetWindowPos(hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string NavLabel::WindowsHelpProgram() {
    char directory[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(directory) + "\\winhlp32.exe";
}

// At the first pointer over the label, not when the window is made: mapping the help program
// is the slowest step of making a label.
void NavLabel::LoadHandCursor() {
    if (cursorSought_) return;
    cursorSought_ = true;
    const std::string path = helpProgram_.empty() ? WindowsHelpProgram() : helpProgram_;
    if (path.empty()) return;
    // Only its resources are wanted: map the program as data, run nothing of it.
    UniqueModule help(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!help) return;
    if (HCURSOR cursor = ::LoadCursorA(help.Get(), MAKEINTRESOURCEA(kHandCursorId)))
        handCursor_.Reset(static_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(cursor))));
}

void NavLabel::UseFont(bool underlined) {
    // In high contrast the underline marks the selected label, whatever the caller asked for.
    if (HighContrastOn()) underlined = controls::NavigationUnderlined(selected_, hovering_, underlineMode_, true);
    HFONT font = underlined ? underlinedFont_.Get() : boldFont_.Get();
    if (Hwnd() != nullptr && font != nullptr) ::SendMessageA(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void NavLabel::Redraw(int extendBelow) {
    HWND hwnd = Hwnd();
    if (hwnd == nullptr) return;
    HWND parent = ::GetParent(hwnd);
    RECT area{};
    ::GetClientRect(hwnd, &area);
    area.bottom += extendBelow;
    ::MapWindowPoints(hwnd, parent, reinterpret_cast<POINT*>(&area), 2);
    ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void NavLabel::SetSelected(bool selected) {
    const bool changed = selected != selected_;
    selected_ = selected;
    if (HighContrastOn()) UseFont(selected);
    HWND hwnd = Hwnd();
    if (hwnd != nullptr) {
        // Tab reaches the column at the label of the page in front.
        const LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
        ::SetWindowLongA(hwnd, GWL_STYLE, selected ? style | WS_TABSTOP : style & ~WS_TABSTOP);
        if (changed) {
            ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
            if (selected) ::NotifyWinEvent(EVENT_OBJECT_SELECTION, hwnd, OBJID_CLIENT, CHILDID_SELF);
        }
    }
    Redraw();
}

RECT NavLabel::FocusCueRect() const {
    HWND hwnd = Hwnd();
    RECT area{};
    ::GetClientRect(hwnd, &area);
    ::MapWindowPoints(hwnd, ::GetParent(hwnd), reinterpret_cast<POINT*>(&area), 2);
    const int margin = controls::ScaleForDpi(kFocusCueMargin, static_cast<int>(fontDpi_));
    ::InflateRect(&area, margin, margin);
    return area;
}

void NavLabel::DrawFocusCue(HDC parentDc) const {
    if (!hasFocus_ || Hwnd() == nullptr) return;
    const RECT frame = FocusCueRect();
    ::DrawFocusRect(parentDc, &frame);
}

void NavLabel::RedrawFocusCue() {
    const RECT frame = FocusCueRect();
    ::RedrawWindow(::GetParent(Hwnd()), &frame, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// A label takes input while it and its top-level window are enabled: a modal dialog
// disables the main window, not the labels in it.
bool NavLabel::TakesInput() const {
    HWND hwnd = Hwnd();
    return hwnd != nullptr && ::IsWindowEnabled(hwnd) && ::IsWindowEnabled(::GetAncestor(hwnd, GA_ROOT));
}

controls::AccessibleFacts NavLabel::Describe() const {
    HWND hwnd = Hwnd();
    return controls::NavLabelFacts(WindowText(hwnd), selected_, hasFocus_, ::IsWindowVisible(hwnd) != FALSE,
                                   TakesInput());
}

// As a click on the label; none while the label takes no input.
bool NavLabel::DoDefaultAction() {
    HWND hwnd = Hwnd();
    if (!TakesInput()) return false;
    ::SendMessageA(::GetParent(hwnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd), STN_CLICKED),
                   reinterpret_cast<LPARAM>(hwnd));
    return true;
}

void NavLabel::SetUnderlineMode(int mode) {
    UseFont(mode == kUnderlineAlways);
    Redraw();
    underlineMode_ = mode;
}

COLORREF NavLabel::TextColour() const {
    const COLORREF designed = hovering_ ? hoverColour_ : selected_ ? selectedColour_ : normalColour_;
    return Resolve(controls::Surface::NavigationText, designed);
}

void NavLabel::OnHoverCheck() {
    HWND hwnd = Hwnd();
    const DWORD position = ::GetMessagePos();
    POINT cursor{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ::ScreenToClient(hwnd, &cursor);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    if (::PtInRect(&client, cursor)) return;
    hovering_ = false;
    ::KillTimer(hwnd, kHoverTimerId);
    if (underlineMode_ != kUnderlineAlways || HighContrastOn()) UseFont(false);
    Redraw(controls::ScaleForDpi(kHoverRedrawBelow, static_cast<int>(fontDpi_)));
}

LRESULT NavLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReflectCtlColorStatic: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, TextColour());
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SETCURSOR:
        LoadHandCursor();
        if (!handCursor_) return FALSE;
        ::SetCursor(handCursor_.Get());
        return TRUE;
    case WM_MOUSEMOVE:
        if (!hovering_) {
            hovering_ = true;
            if (underlineMode_ == kUnderlineHover || HighContrastOn()) UseFont(true);
            Redraw();
            ::SetTimer(Hwnd(), kHoverTimerId, kHoverCheckMs, nullptr);
        }
        break;
    case WM_TIMER:
        if (wParam == kHoverTimerId) OnHoverCheck();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        hasFocus_ = message == WM_SETFOCUS;
        RedrawFocusCue();
        break;
    case WM_GETOBJECT:
        if (AccessibleAnswer::ForClientArea(lParam)) {
            if (const LRESULT answer = accessible_.Answer(Hwnd(), wParam)) return answer;
        }
        break;
    case WM_DESTROY:
        ::KillTimer(Hwnd(), kHoverTimerId);
        accessible_.Disconnect();
        break;
    case WM_SYSCOLORCHANGE:  // high contrast may have been turned on or off
        UseFont(controls::NavigationUnderlined(selected_, hovering_, underlineMode_, HighContrastOn()));
        Redraw();
        break;
    case kDpiChangedAfterParent:
        ApplyDpi(WindowDpi(Hwnd()));
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace hx::win
