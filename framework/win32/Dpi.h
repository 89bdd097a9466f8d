// The DPI a window is shown at, and the system metrics and icons for a DPI. The per-monitor
// calls exist from Windows 10 on and are looked up when first needed; where they are
// missing, every window is at the system DPI and the system's own metrics hold.
#pragma once

#include <windows.h>

namespace hx::win {

// Sent to every child window after its top-level window has moved to another DPI (the
// headers declare it only for Windows 10 builds).
inline constexpr UINT kDpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT

UINT SystemDpi();
UINT WindowDpi(HWND hwnd);

// A system metric (SM_CXICON, SM_CXSMICON, ...) as it is at dpi.
int MetricForDpi(int index, UINT dpi);

// An icon resource at the size a system metric gives at dpi (SM_CXICON for a large icon,
// SM_CXSMICON for a small one). The caller owns the icon.
HICON LoadIconForDpi(HINSTANCE module, int resourceId, int sizeMetric, UINT dpi);

// Keeps the dialog manager from giving a control the dialog's new font when the DPI changes,
// for a control that makes its own fonts for the new DPI.
void KeepOwnFontOnDpiChange(HWND control);

}  // namespace hx::win
