// hxctl's side of the utility's control pipe: the pipe's name, and one request sent over a
// connection of its own once the pipe's server is known to be the utility.
#pragma once

#include <string>

#include "tools/hxctl/HxctlPorts.h"

namespace hx::ctl::win {

inline constexpr const char* kUtilityWindowTitle = "Halvorn HX-88U Utility";

// HX_CONTROL_PIPE when set, else \\.\pipe\hx88uutil-<the user's SID>.
std::string ControlPipeName();

// Sends the request and reads the whole reply. Not reached (exit status 8) when the pipe is
// missing, or when the utility's window is there but another process serves the pipe; the
// request is then never written.
Exchange TransactControlPipe(const std::string& pipeName, const std::string& request);

}  // namespace hx::ctl::win
