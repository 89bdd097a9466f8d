// A progress bar from a dialog template, drawn as a horizontal colour gradient through an
// off-screen bitmap. The native control is kept in step with the range and position.
// Screen readers read it as a progress bar named after its label, e.g. "Link Quality, 94 %".
#pragma once

#include <windows.h>

#include "framework/win32/Control.h"
#include "controls/win32/AccessibleObject.h"

namespace hx::win {

class GradientMeter : public Control, private AccessibleSource {
public:
    GradientMeter();

    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Position() const { return position_; }

    // Set by the owner before the first paint.
    void SetStartColour(COLORREF colour) { startColour_ = colour; }
    void SetEndColour(COLORREF colour) { endColour_ = colour; }
    void SetBackgroundColour(COLORREF colour) { backgroundColour_ = colour; }
    void SetTextColour(COLORREF colour) { textColour_ = colour; }
    void SetShowText(bool show) { showText_ = show; }
    // The label whose text names the meter for screen readers.
    void SetNameLabel(HWND label) { nameLabel_ = label; }

    // Draws the meter into dc, as the window's client area.
    void PaintTo(HDC dc);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawGradient(HDC dc, const RECT& client, int filledWidth);
    void DrawPercentText(HDC dc, RECT client);
    void Invalidate();
    controls::AccessibleFacts Describe() const override;

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    COLORREF startColour_ = RGB(255, 0, 0);
    COLORREF endColour_ = RGB(0, 0, 255);
    COLORREF backgroundColour_;
    COLORREF textColour_ = RGB(255, 255, 255);
    bool showText_ = false;
    HWND nameLabel_ = nullptr;
    AccessibleAnswer accessible_{*this};
};

}  // namespace hx::win
