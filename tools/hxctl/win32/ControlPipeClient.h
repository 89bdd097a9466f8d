// hxctl's side of the utility's control pipe: one request sent over a connection of its own once the pipe's server is known to be the utility.
#pragma once

#include <string>

#include "tools/hxctl/HxctlPorts.h"

namespace hx::ctl::win {

inline constexpr const char* kUtilityWindowTitle = "Halvorn HX-88U Utility";
inline constexpr const char* kUtilityProgram = "HX88UUtil.exe";

// Sends the request and reads the whole reply. Not reached (exit status 8) when the pipe is
// missing, or when its server neither runs HX88UUtil.exe nor owns the utility's window
// ("not running" without that window, "runs without its control channel" with it); the
// request is then never written.
Exchange TransactControlPipe(const std::string& pipeName, const std::string& request);

}  // namespace hx::ctl::win
