// Whether the user has turned on high contrast, as last read, and the colours of the
// utility's own surfaces under that setting. The setting is read on first use and again
// when the main window is told the system colours or settings changed (RefreshHighContrast);
// controls resolve their colours with Resolve at each paint.
#pragma once

#include <windows.h>

#include "controls/ColourScheme.h"

namespace hx::win {

bool HighContrastOn();
// Reads the setting again; true when it changed.
bool RefreshHighContrast();
// What asks Windows for the setting; tests replace it (null: SystemParametersInfo). The
// setting is read again on the next use.
using HighContrastQuery = bool (*)();
void SetHighContrastQuery(HighContrastQuery query);

int SystemColourIndex(controls::SystemColour colour);
// The colour a surface is painted with: the designed one, or the system colour that takes
// its place in high contrast.
COLORREF Resolve(controls::Surface surface, COLORREF designed);

// Tells the window and all its descendants that the colours changed (WM_SYSCOLORCHANGE, as
// a top-level window passes it on to its controls), then repaints them all.
void SpreadColourChange(HWND topLevel);

}  // namespace hx::win
