// Reads a scenario from its text form: sections in brackets, "key = value" lines, "#"
// comments. The format is described in docs/simulator.md; DefaultWorld.cpp is an example.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/core/Scenario.h"

namespace hxsim {

struct ParseResult {
    std::optional<Scenario> scenario;
    std::string error;                // "line N: ..." when scenario is empty
};

ParseResult ParseScenario(std::string_view text);

// Small value parsers, shared with the control commands.
std::optional<Mac> ParseMac(std::string_view text);          // 00:11:22:33:44:55 or with '-'
std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view text);  // "12 34 ab" or "1234ab"
std::optional<long long> ParseInteger(std::string_view text);  // decimal, -decimal or 0x hex
std::string MacText(const Mac& mac);                         // 00:11:22:33:44:55

}  // namespace hxsim
