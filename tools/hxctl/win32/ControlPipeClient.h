// hxctl's side of the utility's control pipe: one request sent over a connection of its
// own once the pipe's server is known to be the utility.
#pragma once

#include <string>

#include "tools/hxctl/HxctlPorts.h"

namespace hx::ctl::win {

inline constexpr const char* kUtilityWindowTitle = "Halvorn HX-88U Utility";
inline constexpr const char* kUtilityProgram = "HX88UUtil.exe";
// Where the installer records the folder it installed into (value InstallLocation, HKCU).
inline constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\HX88UUtil";

// Sends the request and reads the whole reply; the request is written only once the pipe's
// server is known. Not reached (exit status 8), with the reason, when the pipe is missing,
// when its server runs as another user, or when it is not the utility: a request that
// carries a secret goes only to the utility's program beside hxctl or the installed one
// (full paths compared); another request also to the process that owns the utility's
// window ("not running" without that window, "runs without its control channel" when
// another process serves the pipe).
Exchange TransactControlPipe(const std::string& pipeName, const std::string& request, bool secret);

}  // namespace hx::ctl::win
