#include "app/win32/ControlPipeName.h"

#include <windows.h>

#include "app/ControlRecord.h"
#include "framework/win32/UserOnlySecurity.h"

namespace hx::win {

std::string ControlPipeName() {
    char given[512];
    const DWORD length = ::GetEnvironmentVariableA(kControlPipeVariable, given, sizeof given);
    if (length > 0 && length < sizeof given) return std::string(given, length);
    return kControlPipePrefix + UserOnlySecurity().UserSidText();
}

}  // namespace hx::win
