#include "trayicon/TaskbarTheme.h"

#include "resources/resource.h"

namespace hx {

bool TaskbarIsLight(std::optional<std::uint32_t> systemUsesLightTheme) {
    return !systemUsesLightTheme || *systemUsesLightTheme != 0;
}

int IconForTaskbar(int resourceId, bool lightTaskbar) {
    if (lightTaskbar) return resourceId;
    switch (resourceId) {
    case IDI_MAIN: return IDI_MAIN_DARK;
    case IDI_NO_ADAPTER: return IDI_NO_ADAPTER_DARK;
    default: return resourceId;
    }
}

}  // namespace hx
