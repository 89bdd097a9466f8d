// A label whose text and background colours its page chooses. Bound by id to statics,
// radio buttons, group boxes and read-only edits of a dialog template; it answers the
// colour request the parent dialog reflects back to it.
#pragma once

#include <windows.h>

#include "framework/win32/Control.h"
#include "framework/win32/Handles.h"

namespace hx::win {

class CStaticEx : public Control {
public:
    static constexpr COLORREF kDefaultTextColour = RGB(0, 0, 0);
    static constexpr COLORREF kDefaultBackgroundColour = RGB(255, 255, 255);

    // Each repaints the control (with background erase) only when the colour changes.
    void SetTextColour(COLORREF colour);
    void SetBackgroundColour(COLORREF colour);
    COLORREF TextColour() const { return textColour_; }
    COLORREF BackgroundColour() const { return backgroundColour_; }

    // The brush handed out by the last colour request, or null before the first.
    HBRUSH CurrentBrush() const { return brush_.Get(); }

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HBRUSH OnColourRequest(HDC dc);
    void Repaint();

    COLORREF textColour_ = kDefaultTextColour;
    COLORREF backgroundColour_ = kDefaultBackgroundColour;
    UniqueBrush brush_;
};

}  // namespace hx::win
