// Text between Windows' UTF-16 and the UTF-8 that hxctl and the utility speak.
#pragma once

#include <string>
#include <string_view>

namespace hx::win {

std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view utf8);

}  // namespace hx::win
