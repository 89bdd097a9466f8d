// Which colours the utility paints its own surfaces with. Normally each surface keeps the
// colour it was designed with; when the user has turned on high contrast, every surface
// takes one of the system's colours instead, so that the user's chosen scheme reaches
// everything the utility draws itself.
#pragma once

#include <cstdint>

namespace hx::controls {

// The system colours the utility uses in high contrast (the Win32 side maps them to the
// window system's colour indexes).
enum class SystemColour { Window, WindowText, Highlight, HotLight };

// What the utility paints itself.
enum class Surface {
    MainWindow,       // the main window's background behind the navigation labels
    NavigationText,   // the navigation labels, idle, selected or under the mouse
    Page,             // a page's background
    LabelText,        // the coloured statics: labels, group captions, read-only values...
    LabelBackground,  // ...and what they are drawn on
    MeterFill,        // the filled part of a meter (each end of its gradient)
    MeterRest,        // the meter beyond its fill, and an empty meter
    MeterText,        // the percentage drawn over a meter
    GraphLines,       // the graph panels' hatching...
    GraphBackground,  // ...and the surface under it
};

// A surface's colour: the designed one, or a system colour.
struct ColourChoice {
    bool fromSystem = false;
    SystemColour system = SystemColour::Window;
    std::uint32_t designed = 0;   // 0x00BBGGRR; meaningful when not fromSystem
    bool operator==(const ColourChoice&) const = default;
};

ColourChoice ChooseColour(Surface surface, bool highContrast, std::uint32_t designed);

// Whether a navigation label is drawn underlined. Normally the underline mode decides
// (1 always, -1 while the mouse is over the label, 0 never). In high contrast all labels
// share one colour, so the underline marks the selected label (and the one under the mouse,
// unless the mode is never), whatever the mode.
bool NavigationUnderlined(bool selected, bool hovering, int underlineMode, bool highContrast);

}  // namespace hx::controls
