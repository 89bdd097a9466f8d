// What the main window does with "Open" (the tray menu's command and a double click on the
// tray icon) and with the system menu's minimise and close. The window carries out the
// action; the rule decides it.
#pragma once

#include <cstdint>

#include "app/UtilityState.h"

namespace hx {

inline constexpr const char* kZeroConfigurationMessage =
    "Wireless LAN is Controlled by the Windows Zero Configuration";

enum class OpenAction {
    Nothing,                   // no adapter ready
    ExplainZeroConfiguration,  // the service controls the adapter: a box with the message
    Show,                      // show the window, bring it to the top and to the foreground
};
OpenAction ActionForOpen(const UtilityState& state);

// The system commands the window takes over, as WM_SYSCOMMAND codes with their low four
// bits masked off.
namespace SystemCommand {
constexpr uintptr_t CodeMask = 0xFFF0, Minimise = 0xF020, Close = 0xF060;
}

enum class SystemCommandAction {
    Default,       // any other command: the platform's own processing
    Hide,          // minimise or close with a cursor position: hidden to the tray
    BringForward,  // minimise or close with no cursor position: only made the foreground window
};
// command and cursor are the message's two parameters. The window is never minimised or
// closed this way.
SystemCommandAction ActionForSystemCommand(uintptr_t command, intptr_t cursor);

}  // namespace hx
