// Reads a scenario from its text form: sections in brackets, "key = value" lines, "#"
// comments. The format is described in docs/simulator.md; DefaultWorld.cpp is an example.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/core/Scenario.h"
#include "sim/core/ScenarioValues.h"

namespace hxsim {

struct ParseResult {
    std::optional<Scenario> scenario;
    std::string error;                // "line N: ..." when scenario is empty
};

ParseResult ParseScenario(std::string_view text);

}  // namespace hxsim
