// The utility's windows as another process sees them: texts, pages, message boxes.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

namespace hx::test {

// A window's text (WM_GETTEXT, safe across processes).
std::string Text(HWND hwnd);
// The page of the main window that holds the control with this id, or null.
HWND PageHolding(HWND main, int controlId);
// True when that page is the one shown in the frame (whether or not the window is).
bool PageShown(HWND main, int controlId);
// The text of a control on the page that holds it.
std::string PageText(HWND main, int controlId);
// A click on a navigation label, as the mouse gives it.
void ClickLabel(HWND main, int labelId);
// A visible message box owned by this window, or null.
HWND OwnedMessageBox(HWND owner);
// Waits for a visible message box owned by this window.
HWND WaitForOwnedMessageBox(HWND owner, std::chrono::milliseconds limit);
// The text of a message box.
std::string MessageBoxText(HWND box);
// "Open" from the tray menu, posted as often as needed until the window shows.
bool OpenFromTray(HWND main, std::chrono::milliseconds limit);

}  // namespace hx::test
