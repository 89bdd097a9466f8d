// The floor under the utility's start: a program with the utility's resources, manifest,
// runtime and imports whose window is the utility's main dialog as the dialog manager makes
// it from the template alone (the navigation labels and the page frame, no page, nothing of
// the utility's own). bench_start_to_window times it beside the utility and Notepad: the
// utility's first window, which holds this one and more, cannot show sooner.
// Ends at WM_CLOSE or any command.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <uxtheme.h>

#include "resources/resource.h"

namespace {

// One function of each library the utility imports, so that this program loads the same
// (the linker imports only what is referenced; WinMain reads the table so that it stays).
const void* const volatile kSameImports[] = {
    reinterpret_cast<const void*>(&::CreateStdAccessibleObject), reinterpret_cast<const void*>(&::SysFreeString),
    reinterpret_cast<const void*>(&::CoTaskMemFree),             reinterpret_cast<const void*>(&::SetWindowTheme),
    reinterpret_cast<const void*>(&::Shell_NotifyIconA),         reinterpret_cast<const void*>(&::GetFileVersionInfoSizeW),
    reinterpret_cast<const void*>(&::RegOpenKeyExA),             reinterpret_cast<const void*>(&::CreateSolidBrush),
};

INT_PTR CALLBACK FloorDialog(HWND hwnd, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_CLOSE:
    case WM_COMMAND: ::EndDialog(hwnd, 0); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const int result = static_cast<int>(::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, &FloorDialog, 0));
    return kSameImports[0] != nullptr ? result : 1;
}
