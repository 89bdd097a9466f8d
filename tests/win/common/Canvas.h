// A memory canvas for the Windows tests to paint into and read back pixel by pixel.
#pragma once

#include <windows.h>

namespace hx::test {

// A 32-bit top-down DIB selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    void Fill(COLORREF colour);
    COLORREF Pixel(int x, int y) const;
    // Pixels of exactly this colour in [left, right) x [top, bottom).
    int Count(COLORREF colour, RECT area) const;
    // Copies what the window shows of its client area (through its window DC).
    void CopyFromWindow(HWND hwnd);
    // Has the window paint its client area here (WM_PRINTCLIENT).
    void PrintClient(HWND hwnd);

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    const DWORD* bits_ = nullptr;
};

}  // namespace hx::test
