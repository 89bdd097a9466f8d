#include "framework/win32/Dpi.h"

#include "controls/DpiScale.h"

namespace hx::win {
namespace {

using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SetDialogControlDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);

constexpr int kDisableFontUpdate = 0x0001;  // DCDC_DISABLE_FONT_UPDATE

template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    FARPROC found = user32 != nullptr ? ::GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

UINT ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : static_cast<UINT>(controls::kBaseDpi);
}

}  // namespace

UINT SystemDpi() {
    static const auto getDpiForSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
    return getDpiForSystem != nullptr ? getDpiForSystem() : ScreenDpi();
}

UINT WindowDpi(HWND hwnd) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr && hwnd != nullptr ? getDpiForWindow(hwnd) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

int MetricForDpi(int index, UINT dpi) {
    static const auto getSystemMetricsForDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr) return getSystemMetricsForDpi(index, dpi);
    return controls::RescaleForDpi(::GetSystemMetrics(index), static_cast<int>(SystemDpi()), static_cast<int>(dpi));
}

HICON LoadIconForDpi(HINSTANCE module, int resourceId, int sizeMetric, UINT dpi) {
    const int size = MetricForDpi(sizeMetric, dpi);
    return static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, size, size, 0));
}

void KeepOwnFontOnDpiChange(HWND control) {
    static const auto setBehavior =
        User32Function<SetDialogControlDpiChangeBehaviorFn>("SetDialogControlDpiChangeBehavior");
    if (setBehavior != nullptr) setBehavior(control, kDisableFontUpdate, kDisableFontUpdate);
}

}  // namespace hx::win
