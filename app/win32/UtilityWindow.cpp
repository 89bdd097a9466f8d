#include "app/win32/UtilityWindow.h"

#include "app/UtilityState.h"

namespace hx::win {

HWND FindUtilityWindow() {
    for (const char* title : {kMainWindowTitle, kSimulatedMainWindowTitle})
        if (HWND window = ::FindWindowA(nullptr, title)) return window;
    return nullptr;
}

}  // namespace hx::win
