// The world the library simulates when no scenario file is given.
#pragma once

#include <string_view>

#include "sim/core/Scenario.h"

namespace hxsim {

// The default world in the scenario text format.
std::string_view DefaultScenarioText();
// The same, parsed.
Scenario DefaultScenario();

}  // namespace hxsim
