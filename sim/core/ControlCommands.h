// The simulator's control commands: one text line in, a text reply out. The hxsim tool
// sends them over the control channel; tests run them in-process. docs/simulator.md lists
// them.
#pragma once

#include <string>

#include "sim/core/World.h"

namespace hxsim {

struct ControlReply {
    bool ok = true;
    std::string text;
};

ControlReply RunControlCommand(World& world, const std::string& line);

// The adapter's state as "key: value" lines (the "show" command).
std::string StateReport(World& world);

}  // namespace hxsim
