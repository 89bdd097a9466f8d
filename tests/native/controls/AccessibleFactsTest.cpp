#include <gtest/gtest.h>

#include "controls/AccessibleFacts.h"

namespace hx::controls {
namespace {

TEST(AccessibleFacts, LabelsAreTabsAndMetersReadTheirPercentage) {
    // selected, selectable, focused, focusable, read-only, invisible
    constexpr AccessibleRole Tab = AccessibleRole::PageTab, Bar = AccessibleRole::ProgressBar;
    const AccessibleState tab{false, true, false, true, false, false}, front{true, true, false, true, false, false},
        focused{true, true, true, true, false, false}, tabOffScreen{false, true, false, true, false, true},
        meter{false, false, false, false, true, false}, meterOffScreen{false, false, false, false, true, true};
    const struct { const char* what; AccessibleFacts facts, expected; } cases[] = {
        {"label", NavLabelFacts("Site Survey", false, false, true, true), {"Site Survey", Tab, tab, "", "Switch"}},
        {"label in front", NavLabelFacts("Link Info", true, false, true, true), {"Link Info", Tab, front, "", "Switch"}},
        {"focused", NavLabelFacts("Profile", true, true, true, true), {"Profile", Tab, focused, "", "Switch"}},
        {"hidden window", NavLabelFacts("About", false, false, false, true), {"About", Tab, tabOffScreen, "", "Switch"}},
        {"meter", MeterFacts("Link Quality", 94, 0, 100, true), {"Link Quality", Bar, meter, "94 %", ""}},
        {"page behind", MeterFacts("Signal Strength", 60, 0, 100, false),
         {"Signal Strength", Bar, meterOffScreen, "60 %", ""}},
        {"other range", MeterFacts("q", 30, 20, 70, true), {"q", Bar, meter, "20 %", ""}},
        {"above the range", MeterFacts("q", 250, 0, 100, true), {"q", Bar, meter, "100 %", ""}},
        {"below the range", MeterFacts("q", -5, 0, 100, true), {"q", Bar, meter, "0 %", ""}},
        {"no width", MeterFacts("q", 5, 0, 0, true), {"q", Bar, meter, "0 %", ""}},
        {"whole int range", MeterFacts("q", 0, -2147483647 - 1, 2147483647, true), {"q", Bar, meter, "50 %", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.facts, c.expected) << c.what;
}

}  // namespace
}  // namespace hx::controls
