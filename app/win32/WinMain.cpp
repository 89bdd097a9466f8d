#include <windows.h>

#include "app/win32/CUtilityApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return hx::win::TheApp().Run(instance);
}
