// Small text helpers of the simulator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hxsim {

std::string_view Trim(std::string_view text);
std::string Lower(std::string_view text);
std::string Upper(std::string_view text);
std::vector<std::string> SplitWords(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace hxsim
