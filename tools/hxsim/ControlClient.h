// Sends one control command to the simulated adapter inside another process.
#pragma once

#include <string>

namespace hxsim {

// The pipe of the library loaded by the program of that name (without ".exe"), e.g.
// ControlPipeName("HX88UUtil") is \\.\pipe\hxsim-hx88uutil.
std::string ControlPipeName(const std::string& program);

// Sends the command and waits up to timeoutMs for the server to be free. True when a reply
// came; reply then holds it: "ok" or "error" on the first line, then the command's text.
bool SendControlCommand(const std::string& pipeName, const std::string& command, std::string& reply,
                        int timeoutMs = 5000);

}  // namespace hxsim
