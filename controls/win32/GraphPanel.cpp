#include "controls/win32/GraphPanel.h"

#include "controls/win32/SystemColours.h"

namespace hx::win {

GraphPanel::~GraphPanel() {
    DropSurface();
    if (Hwnd() != nullptr && ::IsWindow(Hwnd())) ::DestroyWindow(Hwnd());
}

bool GraphPanel::RegisterWindowClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = ::DefWindowProcA;  // behaviour comes from the bound object
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;  // no cursor, background brush or icon
        return ::RegisterClassA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

bool GraphPanel::Create(DWORD style, const RECT& rect, HWND parent, int id) {
    if (Hwnd() != nullptr || !RegisterWindowClass()) return false;
    HWND hwnd = ::CreateWindowExA(kExtendedStyle, kClassName, "", style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr) return false;
    if (!AttachWindow(hwnd)) {
        ::DestroyWindow(hwnd);
        return false;
    }
    return true;
}

void GraphPanel::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    if (Hwnd() == nullptr) return;
    BuildSurface();
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void GraphPanel::BuildSurface() {
    if (surface_) return;  // made once, on the first range change
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    WindowDc windowDc(Hwnd());
    UniqueMemoryDc surface(::CreateCompatibleDC(windowDc.Get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(windowDc.Get(), client.right, client.bottom));
    if (!surface || !bitmap) return;
    originalBitmap_ = ::SelectObject(surface.Get(), bitmap.Get());
    ::SetBkColor(surface.Get(), Resolve(controls::Surface::GraphBackground, kSurfaceBackground));
    UniqueBrush hatch(::CreateHatchBrush(HS_HORIZONTAL, Resolve(controls::Surface::GraphLines, kHatchColour)));
    ::FillRect(surface.Get(), &client, hatch.Get());
    bitmap_ = std::move(bitmap);
    surface_ = std::move(surface);
    surfaceSize_ = {client.right, client.bottom};
}

void GraphPanel::DropSurface() {
    if (surface_ && originalBitmap_ != nullptr) ::SelectObject(surface_.Get(), originalBitmap_);
    originalBitmap_ = nullptr;
    surface_.Reset();
    bitmap_.Reset();
}

void GraphPanel::PaintTo(HDC dc) {
    if (!surface_) return;
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, surface_.Get(), 0, 0, SRCCOPY);
}

LRESULT GraphPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = ::BeginPaint(Hwnd(), &paint)) {
            PaintTo(dc);
            ::EndPaint(Hwnd(), &paint);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SYSCOLORCHANGE:  // the surface is drawn again in the colours now in force
        if (surface_) {
            DropSurface();
            BuildSurface();
            ::InvalidateRect(Hwnd(), nullptr, TRUE);
        }
        return Control::WindowProc(message, wParam, lParam);
    case WM_SIZE:
        if (surface_ && (LOWORD(lParam) != surfaceSize_.cx || HIWORD(lParam) != surfaceSize_.cy)) {
            DropSurface();
            BuildSurface();
        }
        return Control::WindowProc(message, wParam, lParam);
    default:
        return Control::WindowProc(message, wParam, lParam);
    }
}

}  // namespace hx::win
