// The main window on the desktop: its icon when minimised, its icons and the tray's at the
// screen's DPI and for the taskbar's theme, the system's colour changes, the tray menu's check.
#include "app/win32/CDlg_Main.h"

#include <utility>

#include "app/StartWithWindows.h"
#include "framework/win32/Dpi.h"
#include "framework/win32/Handles.h"
#include "controls/win32/SystemColours.h"
#include "resources/resource.h"
#include "trayicon/win32/TaskbarIcons.h"

namespace hx::win {

void CDlg_Main::PaintMinimised() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(Hwnd(), &paint);
    ::SendMessageA(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const UINT dpi = WindowDpi(Hwnd());
    const int width = MetricForDpi(SM_CXICON, dpi), height = MetricForDpi(SM_CYICON, dpi);
    const int x = (client.right - client.left - width + 1) / 2;
    const int y = (client.bottom - client.top - height + 1) / 2;
    ::DrawIconEx(dc, x, y, LargeIcon(), width, height, 0, nullptr, DI_NORMAL);
    ::EndPaint(Hwnd(), &paint);
}

// Icon 135 as the large and the small window icon, each drawn for its size at dpi. At the
// system DPI the large one is the icon loaded with the window.
void CDlg_Main::UseIconsForDpi(UINT dpi) {
    UniqueIcon largeIcon(dpi != SystemDpi() ? LoadIconForDpi(ResourceModule(), IDI_MAIN, SM_CXICON, dpi) : nullptr);
    // The small one is what the taskbar shows: drawn for a dark taskbar when it is dark.
    UniqueIcon smallIcon(LoadIconForDpi(ResourceModule(), TaskbarIconResource(IDI_MAIN), SM_CXSMICON, dpi));
    ::SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon ? largeIcon.Get() : icon_));
    ::SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon ? smallIcon.Get() : icon_));
    // The window no longer shows the icons these replace.
    dpiLargeIcon_ = std::move(largeIcon);
    smallIcon_ = std::move(smallIcon);
}

// The window moved to a monitor of another DPI: its icons are drawn again for it, and it
// takes the place Windows suggests. The dialog manager lays the controls out again.
void CDlg_Main::OnDpiChanged(UINT dpi, const RECT& suggested) {
    UseIconsForDpi(dpi);
    if (tray_) tray_->ReloadIcons();
    ::SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDlg_Main::OnSettingChange(const char* area) {
    if (RefreshHighContrast()) SpreadColourChange(Hwnd());
    if (area != nullptr && ::lstrcmpiA(area, "ImmersiveColorSet") == 0) {
        UseIconsForDpi(WindowDpi(Hwnd()));
        if (tray_) tray_->ReloadIcons();
    }
}

void CDlg_Main::OnMenuOpening(HMENU menu) {
    if (::GetMenuState(menu, ID_TRAY_START_WITH_WINDOWS, MF_BYCOMMAND) == static_cast<UINT>(-1)) return;
    const UINT check = StartsWithWindows(runEntry_) ? MF_CHECKED : MF_UNCHECKED;
    ::CheckMenuItem(menu, ID_TRAY_START_WITH_WINDOWS, MF_BYCOMMAND | check);
}

}  // namespace hx::win
