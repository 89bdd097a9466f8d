#include "controls/win32/CStaticEx.h"

#include <uxtheme.h>

#include "framework/win32/Reflect.h"
#include "controls/win32/SystemColours.h"

namespace hx::win {

void CStaticEx::OnAttached() {
    // A themed group box draws its caption in the theme's colour; unthemed, it takes the
    // text colour of the colour request like every other label.
    char className[16] = {};
    ::GetClassNameA(Hwnd(), className, sizeof className);
    const LONG style = ::GetWindowLongA(Hwnd(), GWL_STYLE);
    if (::lstrcmpiA(className, "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX)
        ::SetWindowTheme(Hwnd(), L" ", L" ");  // a class list no theme has
}

void CStaticEx::SetTextColour(COLORREF colour) {
    if (colour == textColour_) return;
    textColour_ = colour;
    Repaint();
}

void CStaticEx::SetBackgroundColour(COLORREF colour) {
    if (colour == backgroundColour_) return;
    backgroundColour_ = colour;
    Repaint();
}

void CStaticEx::Repaint() {
    if (Hwnd() != nullptr) ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

HBRUSH CStaticEx::OnColourRequest(HDC dc) {
    const COLORREF background = Resolve(controls::Surface::LabelBackground, backgroundColour_);
    ::SetTextColor(dc, Resolve(controls::Surface::LabelText, textColour_));
    ::SetBkColor(dc, background);
    // One brush per request: the previous one has served its paint and goes first.
    brush_.Reset();
    brush_.Reset(::CreateSolidBrush(background));
    return brush_.Get();
}

LRESULT CStaticEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReflectCtlColorStatic:  // statics, radio buttons, group boxes, read-only edits
    case kReflectCtlColorEdit:
    case kReflectCtlColorBtn:
        return reinterpret_cast<LRESULT>(OnColourRequest(reinterpret_cast<HDC>(wParam)));
    default:
        return Control::WindowProc(message, wParam, lParam);
    }
}

}  // namespace hx::win
