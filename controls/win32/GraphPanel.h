// A sunken drawing surface created at run time: it clears itself, on the first range
// change, to a hatched dark-green background held in an off-screen bitmap, and shows that.
// When the panel is resized (its window moved to another DPI) the surface is made again at
// the new size.
#pragma once

#include <windows.h>

#include "framework/win32/Control.h"
#include "framework/win32/Handles.h"

namespace hx::win {

class GraphPanel : public Control {
public:
    static constexpr const char* kClassName = "HX88U_GraphPanel";
    static constexpr DWORD kExtendedStyle = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;  // 0x00020200
    static constexpr COLORREF kHatchColour = RGB(0, 128, 0);
    static constexpr COLORREF kSurfaceBackground = RGB(0, 0, 0);

    GraphPanel() = default;
    ~GraphPanel() override;

    // Creates the panel window (registering its class on first use); false on failure.
    bool Create(DWORD style, const RECT& rect, HWND parent, int id);

    void SetRange(int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    bool HasSurface() const { return static_cast<bool>(surface_); }

    // Copies the surface into dc as the client area; paints nothing before the first range.
    void PaintTo(HDC dc);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static bool RegisterWindowClass();
    void BuildSurface();
    void DropSurface();

    int minimum_ = 0;
    int maximum_ = 100;
    UniqueBitmap bitmap_;     // declared before the DC so the DC is deleted first
    UniqueMemoryDc surface_;
    HGDIOBJ originalBitmap_ = nullptr;
    SIZE surfaceSize_{};
};

}  // namespace hx::win
