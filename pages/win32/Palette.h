// The colours of the main window and its pages. Pages and the profile editor paint their
// background in the page colour, and their labels, group boxes and radio buttons take it as
// their background so that they blend in. Read-only values stand out on their own field
// colour, group captions have a colour of their own, and the Link Info meters run from the
// meter start colour to the meter end colour.
#pragma once

#include <windows.h>

namespace hx::win {

inline constexpr COLORREF kMainWindowBackground = RGB(46, 92, 199);
inline constexpr COLORREF kPageBackground = RGB(255, 255, 240);
inline constexpr COLORREF kValueBackground = RGB(255, 255, 208);
inline constexpr COLORREF kValueText = RGB(0, 0, 255);
inline constexpr COLORREF kGroupText = RGB(128, 0, 255);
inline constexpr COLORREF kMeterStart = RGB(255, 0, 0);
inline constexpr COLORREF kMeterEnd = RGB(255, 215, 0);

}  // namespace hx::win
