// Helpers of the in-process shell tests: what the tray icon sent to the shell, and the
// pop-up menus and message boxes that appear while a test runs.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace hx::test {

struct NotifyRecord {
    DWORD message;
    DWORD size;
    HWND owner;
    UINT id;
    UINT flags;
    UINT callback;
    HICON icon;
    std::string tip;
};

// Replaces the shell call of every tray icon with a recorder while it lives.
class NotifyRecorder {
public:
    NotifyRecorder();
    ~NotifyRecorder();
    std::vector<NotifyRecord>& Records();
    BOOL result = TRUE;   // what the "shell" answers
};

struct MenuItem {
    UINT id;
    std::string text;
};

// The items of the pop-up menu on screen, or none.
std::vector<MenuItem> VisiblePopupMenuItems();

// A top-level dialog (message box) of this process with the given owner, or null.
HWND FindMessageBox(HWND owner);
std::string MessageBoxText(HWND box);
std::string WindowText(HWND hwnd);

// Sets the user's SystemUsesLightTheme (nothing: removes it) and removes it when it ends.
class TaskbarTheme {
public:
    ~TaskbarTheme() { Set(-1); }
    void Set(int systemUsesLightTheme);
};

// Calls action from a thread timer once the current thread is inside a modal loop (a
// menu, a message box); the action runs on this thread.
void RunSoon(UINT delayMs, void (*action)());

}  // namespace hx::test
