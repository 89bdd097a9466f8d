#include "tests/win/common/Canvas.h"

namespace hx::test {
namespace {

COLORREF FromDibPixel(DWORD pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

}  // namespace

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    dc_ = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<const DWORD*>(bits);
    original_ = ::SelectObject(dc_, bitmap_);
    Fill(fill);
}

Canvas::~Canvas() {
    ::SelectObject(dc_, original_);
    ::DeleteDC(dc_);
    ::DeleteObject(bitmap_);
}

void Canvas::Fill(COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    const RECT all{0, 0, width_, height_};
    ::FillRect(dc_, &all, brush);
    ::DeleteObject(brush);
}

COLORREF Canvas::Pixel(int x, int y) const {
    ::GdiFlush();
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return FromDibPixel(bits_[y * width_ + x]);
}

int Canvas::Count(COLORREF colour, RECT area) const {
    ::GdiFlush();
    int count = 0;
    for (int y = area.top; y < area.bottom && y < height_; ++y) {
        for (int x = area.left; x < area.right && x < width_; ++x) {
            if (FromDibPixel(bits_[y * width_ + x]) == colour) ++count;
        }
    }
    return count;
}

void Canvas::CopyFromWindow(HWND hwnd) {
    HDC windowDc = ::GetDC(hwnd);
    ::BitBlt(dc_, 0, 0, width_, height_, windowDc, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, windowDc);
}

void Canvas::PrintClient(HWND hwnd) {
    ::SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | PRF_ERASEBKGND);
}

}  // namespace hx::test
