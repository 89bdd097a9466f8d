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
// The page whose control with this id is of this window class (ids repeat across pages).
HWND PageWith(HWND main, int controlId, const char* controlClass);
// Controls driven as a user does: text typed in, a list choice (with its notification), a
// button clicked (posted: its handler may run a modal loop).
void SetControlText(HWND dialog, int id, const std::string& text);
void ChooseListEntry(HWND dialog, int id, int position);
void ClickButton(HWND dialog, int id);
// A visible dialog of this process with this caption (a message box, the profile editor), or null.
HWND ProcessDialog(DWORD processId, const std::string& caption);
HWND WaitForProcessDialog(DWORD processId, const std::string& caption, std::chrono::milliseconds limit);
// A visible top-level dialog of this process that holds a control with this id, or null.
HWND ProcessDialogHolding(DWORD processId, int controlId, HWND except);
// A click on a navigation label, as the mouse gives it.
void ClickLabel(HWND main, int labelId);
// A visible message box owned by this window, or null.
HWND OwnedMessageBox(HWND owner);
// Waits for a visible message box owned by this window.
HWND WaitForOwnedMessageBox(HWND owner, std::chrono::milliseconds limit);
// The text of a message box.
std::string MessageBoxText(HWND box);
// "Open" from the tray menu, posted as often as needed until the window shows, once the
// window's brief appearance at start-up is over.
bool OpenFromTray(HWND main, std::chrono::milliseconds limit);

// The tray menu's items as the keyboard reaches them (the separator is passed over).
enum class TrayMenuItem { Open = 0, StartWithWindows = 1, Exit = 2 };
// A right click on the utility's tray icon (its callback posted to the main window); the
// pop-up menu it brings up, or null when none came within three seconds.
HWND OpenTrayMenu(HWND main, DWORD processId);
// That item chosen in the open menu with the keyboard.
void ChooseTrayMenuItem(HWND menu, TrayMenuItem item);
// The pop-up menu this process shows now, or null.
HWND VisibleMenuOf(DWORD processId);

}  // namespace hx::test
