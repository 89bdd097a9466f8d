#include <gtest/gtest.h>
#include <windows.h>

#include "framework/win32/Dialog.h"
#include "resources/resource.h"

namespace hx::win {
namespace {

// A hidden template run modally whose start is slow: a timer that hides the window is
// already due when the modal loop first looks at the queue, as on a busy machine.
class SlowStartDialog : public Dialog {
public:
    SlowStartDialog() : Dialog(IDD_MAIN) {}
    bool visibleAfterHide = true;

protected:
    static constexpr UINT_PTR kHide = 1, kLook = 2;
    BOOL OnInitDialog() override {
        ::SetTimer(Hwnd(), kHide, 1, nullptr);
        ::Sleep(50);
        return TRUE;
    }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) override {
        if (message != WM_TIMER) return 0;
        handled = true;
        ::KillTimer(Hwnd(), wParam);
        if (wParam == kHide) {
            ::ShowWindow(Hwnd(), SW_HIDE);
            ::SetTimer(Hwnd(), kLook, 200, nullptr);
        } else {
            visibleAfterHide = ::IsWindowVisible(Hwnd()) != FALSE;
            EndDialog(IDOK);
        }
        return 0;
    }
};

TEST(ModalDialog, IsShownBeforeATimerThatWasDueAtItsStart) {
    SlowStartDialog dialog;
    ASSERT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_FALSE(dialog.visibleAfterHide) << "shown after the timer that hid it";
}

}  // namespace
}  // namespace hx::win
