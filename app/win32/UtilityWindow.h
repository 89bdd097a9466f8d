// The running utility's main window, as another instance, the tour and the tests look for
// it: a window with either of its titles (app/VendorLibraries.h).
#pragma once

#include <windows.h>

namespace hx::win {

// The first window found with the utility's title, then with its simulated title; null
// when there is none.
HWND FindUtilityWindow();

}  // namespace hx::win
