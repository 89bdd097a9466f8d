#include "app/win32/CDlg_Main.h"

#include "resources/resource.h"

namespace hx::win {

CDlg_Main::CDlg_Main(UtilityState& state, AppProfile& profile)
    : Dialog(IDD_MAIN), state_(state), profile_(profile) {}

BOOL CDlg_Main::OnInitDialog() {
    ::SetWindowTextA(Hwnd(), kMainWindowTitle);
    hidePending_ = 1;
    ::SetTimer(Hwnd(), kPollTimer, 1000, nullptr);
    ::SetTimer(Hwnd(), kHideTimer, 100, nullptr);
    return TRUE;
}

INT_PTR CDlg_Main::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (message == WM_TIMER) {
        OnTimer(wParam);
        handled = true;
    }
    return 0;
}

void CDlg_Main::OnTimer(UINT_PTR id) {
    if (id == kHideTimer) {
        ::ShowWindow(Hwnd(), SW_HIDE);
        hidePending_ = 0;
        ::KillTimer(Hwnd(), kHideTimer);
        return;
    }
    if (hidePending_) {
        ::ShowWindow(Hwnd(), SW_HIDE);
        hidePending_ = 0;
    }
}

void CDlg_Main::OnCancel() { Shutdown(); }

void CDlg_Main::Shutdown() {
    ::KillTimer(Hwnd(), kPollTimer);
    EndDialog(IDCANCEL);
}

}  // namespace hx::win
