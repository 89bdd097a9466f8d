#include "controls/AccessibleFacts.h"

#include <algorithm>

namespace hx::controls {

AccessibleFacts NavLabelFacts(const std::string& text, bool selected, bool focused, bool visible, bool enabled) {
    AccessibleFacts facts;
    facts.name = text;
    facts.role = AccessibleRole::PageTab;
    facts.state.selected = selected;
    facts.state.selectable = enabled;
    facts.state.focusable = enabled;
    facts.state.focused = focused;
    facts.state.invisible = !visible;
    facts.state.unavailable = !enabled;
    if (enabled) facts.defaultAction = kSwitchAction;
    return facts;
}

int MeterPercent(int position, int minimum, int maximum) {
    if (maximum <= minimum) return 0;
    const long long span = static_cast<long long>(maximum) - minimum;
    const long long above = static_cast<long long>(position) - minimum;
    return static_cast<int>(std::clamp(above * 100 / span, 0LL, 100LL));
}

AccessibleFacts MeterFacts(const std::string& label, int position, int minimum, int maximum, bool visible) {
    AccessibleFacts facts;
    facts.name = label;
    facts.role = AccessibleRole::ProgressBar;
    facts.state.readOnly = true;
    facts.state.invisible = !visible;
    facts.value = std::to_string(MeterPercent(position, minimum, maximum)) + " %";
    return facts;
}

}  // namespace hx::controls
