// Loading the icons the taskbar and the notification area show: in the picture that suits
// the taskbar's theme, at the small icon size the shell asks for now.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace hx::win {

// HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize, SystemUsesLightTheme
// (a DWORD), or nothing when it is missing or of another type.
std::optional<std::uint32_t> ReadSystemUsesLightTheme();

// The resource to load for resourceId on the taskbar as it is themed now.
int TaskbarIconResource(int resourceId);

// An icon resource at the shell's small icon size: through comctl32's LoadIconMetric, which
// picks the best picture for that size, or LoadImage at SM_CXSMICON where comctl32 has no
// such export. The caller owns the icon.
HICON LoadSmallIcon(HINSTANCE module, int resourceId);

}  // namespace hx::win
