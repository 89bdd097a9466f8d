// What a screen reader is told about one of our own controls: its name, role, state, value
// and default action. The navigation labels answer as page tabs of one tab strip, the
// meters as progress bars named after the label above them.
#pragma once

#include <string>

namespace hx::controls {

enum class AccessibleRole { PageTab, ProgressBar };

struct AccessibleState {
    bool selected = false;
    bool selectable = false;
    bool focused = false;
    bool focusable = false;
    bool readOnly = false;
    bool invisible = false;
    bool unavailable = false;
    bool operator==(const AccessibleState&) const = default;
};

struct AccessibleFacts {
    std::string name;
    AccessibleRole role = AccessibleRole::PageTab;
    AccessibleState state;
    std::string value;          // empty: the object has no value
    std::string defaultAction;  // empty: the object has no default action
    bool operator==(const AccessibleFacts&) const = default;
};

// The default action of a navigation label: show its page.
inline constexpr char kSwitchAction[] = "Switch";

// A navigation label: the label's text, selected while its page is in front, and focused
// while the column has the keyboard focus on it. `visible` is whether it is on screen;
// `enabled` is false while its window takes no input (a modal dialog has disabled it):
// the label is then unavailable, and has no default action.
AccessibleFacts NavLabelFacts(const std::string& text, bool selected, bool focused, bool visible, bool enabled);

// A meter named after its label, its position read as a percentage of its range, e.g.
// "94 %". A range without width reads as "0 %".
AccessibleFacts MeterFacts(const std::string& label, int position, int minimum, int maximum, bool visible);

// The percentage a meter reads as: position within [minimum, maximum], clamped to 0..100.
int MeterPercent(int position, int minimum, int maximum);

}  // namespace hx::controls
