#include "controls/ColourScheme.h"

namespace hx::controls {
namespace {

SystemColour HighContrastColour(Surface surface) {
    switch (surface) {
    case Surface::NavigationText: return SystemColour::HotLight;
    case Surface::LabelText: return SystemColour::WindowText;
    case Surface::MeterFill: return SystemColour::Highlight;
    case Surface::MeterText: return SystemColour::WindowText;
    case Surface::GraphLines: return SystemColour::Highlight;
    case Surface::MainWindow:
    case Surface::Page:
    case Surface::LabelBackground:
    case Surface::MeterRest:
    case Surface::GraphBackground:
        break;
    }
    return SystemColour::Window;
}

}  // namespace

ColourChoice ChooseColour(Surface surface, bool highContrast, std::uint32_t designed) {
    if (!highContrast) return {false, SystemColour::Window, designed};
    return {true, HighContrastColour(surface), 0};
}

bool NavigationUnderlined(bool selected, bool hovering, int underlineMode, bool highContrast) {
    constexpr int kAlways = 1, kHover = -1, kNever = 0;
    if (highContrast) return selected || (hovering && underlineMode != kNever);
    return underlineMode == kAlways || (underlineMode == kHover && hovering);
}

}  // namespace hx::controls
