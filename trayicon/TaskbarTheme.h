// Which picture of an icon suits the taskbar: Windows' light or dark theme for the taskbar
// and the notification area. Only the icons that nearly vanish on a dark taskbar (the
// utility's dark-blue bars, the black "no adapter" cross) have a picture of their own for it.
#pragma once

#include <cstdint>
#include <optional>

namespace hx {

// From the user's SystemUsesLightTheme value: 0 is dark, anything else light, and a missing
// value (Windows before the dark taskbar) light.
bool TaskbarIsLight(std::optional<std::uint32_t> systemUsesLightTheme);

// The icon resource to show for resourceId on a light or a dark taskbar.
int IconForTaskbar(int resourceId, bool lightTaskbar);

}  // namespace hx
