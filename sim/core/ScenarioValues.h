// The small value parsers of the scenario format, shared with the control commands.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/core/Scenario.h"

namespace hxsim {

std::optional<Mac> ParseMac(std::string_view text);          // 00:11:22:33:44:55 or with '-'
std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view text);  // "12 34 ab" or "1234ab"
std::optional<long long> ParseInteger(std::string_view text);  // decimal, -decimal or 0x hex
std::string MacText(const Mac& mac);                         // 00:11:22:33:44:55

}  // namespace hxsim
