#include "controls/win32/CStaticEx.h"

#include "app/win32/framework/Reflect.h"

namespace hx::win {

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
    ::SetTextColor(dc, textColour_);
    ::SetBkColor(dc, backgroundColour_);
    // One brush per request: the previous one has served its paint and goes first.
    brush_.Reset();
    brush_.Reset(::CreateSolidBrush(backgroundColour_));
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
