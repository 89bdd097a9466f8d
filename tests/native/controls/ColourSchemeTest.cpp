// Without high contrast every surface keeps its designed colour and the underline follows
// its mode; with it, every surface takes a system colour and the underline marks the
// selected label.
#include <gtest/gtest.h>

#include "controls/ColourScheme.h"

namespace hx::controls {
namespace {

TEST(ColourScheme, HighContrastPutsASystemColourOnEverySurface) {
    struct Case { Surface surface; SystemColour system; };
    const Case cases[] = {
        {Surface::MainWindow, SystemColour::Window},       {Surface::NavigationText, SystemColour::HotLight},
        {Surface::Page, SystemColour::Window},             {Surface::LabelText, SystemColour::WindowText},
        {Surface::LabelBackground, SystemColour::Window},  {Surface::MeterFill, SystemColour::Highlight},
        {Surface::MeterRest, SystemColour::Window},        {Surface::MeterText, SystemColour::WindowText},
        {Surface::GraphLines, SystemColour::Highlight},    {Surface::GraphBackground, SystemColour::Window},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseColour(c.surface, false, 0x123456), (ColourChoice{false, SystemColour::Window, 0x123456}));
        EXPECT_EQ(ChooseColour(c.surface, true, 0x123456), (ColourChoice{true, c.system, 0}));
    }
}

TEST(ColourScheme, UnderlineFollowsTheModeOrMarksTheSelectedLabel) {
    struct Case { bool selected, hovering; int mode; bool normal, highContrast; };
    const Case cases[] = {
        {false, false, 1, true, false},  {true, false, 1, true, true},   {false, true, 1, true, true},
        {false, false, -1, false, false}, {false, true, -1, true, true}, {true, false, -1, false, true},
        {false, true, 0, false, false},  {true, true, 0, false, true},   {true, false, 0, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NavigationUnderlined(c.selected, c.hovering, c.mode, false), c.normal)
            << c.selected << c.hovering << c.mode;
        EXPECT_EQ(NavigationUnderlined(c.selected, c.hovering, c.mode, true), c.highContrast)
            << c.selected << c.hovering << c.mode;
    }
}

}  // namespace
}  // namespace hx::controls
