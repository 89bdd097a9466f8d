#pragma once
// How the fakes write a recorded call's arguments: bytes as hex, a null pointer as "null".

#include <cstring>
#include <string>

#include "sim/core/HexCodec.h"

namespace hx::test {

inline std::string Hex(const unsigned char* bytes, int count) {
    if (bytes == nullptr) return "null";
    std::string text(static_cast<size_t>(count) * 3 + 1, '\0');
    hxsim::BytesToHexText(bytes, text.data(), count, true);
    text.resize(std::strlen(text.c_str()));
    return text;
}

inline std::string Str(const char* text) { return text == nullptr ? "null" : text; }

}  // namespace hx::test
