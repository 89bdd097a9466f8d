// The name of the utility's control pipe, the same for the utility that serves it and for
// hxctl that reaches it.
#pragma once

#include <string>

namespace hx::win {

// HX_CONTROL_PIPE when set (tests run more than one utility), else
// \\.\pipe\hx88uutil-<the user's SID>.
std::string ControlPipeName();

}  // namespace hx::win
