#include "controls/win32/GradientMeter.h"

#include <commctrl.h>

#include <string>

#include "framework/win32/Handles.h"
#include "controls/GradientBands.h"
#include "controls/win32/SystemColours.h"

namespace hx::win {

GradientMeter::GradientMeter() : backgroundColour_(::GetSysColor(COLOR_BTNFACE)) {}

void GradientMeter::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = minimum;
    if (Hwnd() == nullptr) return;
    ::SendMessageA(Hwnd(), PBM_SETRANGE, 0, MAKELPARAM(minimum, maximum));
    ::SendMessageA(Hwnd(), PBM_SETPOS, static_cast<WPARAM>(minimum), 0);
    Invalidate();
}

void GradientMeter::SetPosition(int position) {
    const bool changed = position != position_;
    position_ = position;
    // The same position again (the usual case on a steady link) changes nothing on screen.
    if (Hwnd() == nullptr || !changed) return;
    ::SendMessageA(Hwnd(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
    // The native bar clamps its position to the range and repaints only when its clamped
    // value moves, so a step from the maximum to above it would go unseen.
    Invalidate();
}

void GradientMeter::Invalidate() { ::InvalidateRect(Hwnd(), nullptr, FALSE); }

controls::AccessibleFacts GradientMeter::Describe() const {
    std::string name;
    if (nameLabel_ != nullptr) {
        name.resize(static_cast<size_t>(::GetWindowTextLengthA(nameLabel_)) + 1);
        name.resize(static_cast<size_t>(::GetWindowTextA(nameLabel_, name.data(), static_cast<int>(name.size()))));
    }
    return controls::MeterFacts(name, position_, minimum_, maximum_, ::IsWindowVisible(Hwnd()) != FALSE);
}

void GradientMeter::PaintTo(HDC dc) {
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const auto filled = controls::MeterFilledWidth(position_, minimum_, maximum_, width);
    if (!filled) {
        UniqueBrush empty(::CreateSolidBrush(Resolve(controls::Surface::MeterRest, ::GetSysColor(COLOR_BTNFACE))));
        ::FillRect(dc, &client, empty.Get());
        return;
    }
    if (width <= 0 || height <= 0) return;

    UniqueMemoryDc surface(::CreateCompatibleDC(dc));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(dc, width, height));
    if (!surface || !bitmap) return;
    {
        SelectedObject selected(surface.Get(), bitmap.Get());
        DrawGradient(surface.Get(), client, *filled);
        if (showText_) DrawPercentText(surface.Get(), client);
        ::BitBlt(dc, 0, 0, width, height, surface.Get(), 0, 0, SRCCOPY);
    }
}

void GradientMeter::DrawGradient(HDC dc, const RECT& client, int filledWidth) {
    const controls::GradientPlan plan =
        controls::PlanGradient(Resolve(controls::Surface::MeterFill, startColour_),
                               Resolve(controls::Surface::MeterFill, endColour_), client.right, filledWidth);
    for (const controls::ColourBand& band : plan.bands) {
        const RECT area{band.left, 0, band.right, client.bottom + 1};
        UniqueBrush brush(::CreateSolidBrush(band.colour));
        ::FillRect(dc, &area, brush.Get());
    }
    if (plan.backgroundFrom < client.right) {
        const RECT rest{plan.backgroundFrom, 0, client.right, client.bottom};
        UniqueBrush brush(::CreateSolidBrush(Resolve(controls::Surface::MeterRest, backgroundColour_)));
        ::FillRect(dc, &rest, brush.Get());
    }
}

void GradientMeter::DrawPercentText(HDC dc, RECT client) {
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(Hwnd(), WM_GETFONT, 0, 0));
    if (font == nullptr) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    SelectedObject selected(dc, font);
    const std::string text = controls::MeterPercentText(position_, maximum_);
    ::SetTextColor(dc, Resolve(controls::Surface::MeterText, textColour_));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT GradientMeter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;  // the paint covers every pixel
    case WM_PAINT:
        if (wParam != 0) {
            PaintTo(reinterpret_cast<HDC>(wParam));
        } else {
            PAINTSTRUCT paint;
            if (HDC dc = ::BeginPaint(Hwnd(), &paint)) {
                PaintTo(dc);
                ::EndPaint(Hwnd(), &paint);
            }
        }
        return 0;
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_GETOBJECT:
        if (AccessibleAnswer::ForClientArea(lParam)) {
            if (const LRESULT answer = accessible_.Answer(Hwnd(), wParam)) return answer;
        }
        return Control::WindowProc(message, wParam, lParam);
    case WM_DESTROY:
        accessible_.Disconnect();
        return Control::WindowProc(message, wParam, lParam);
    default:
        return Control::WindowProc(message, wParam, lParam);
    }
}

}  // namespace hx::win
