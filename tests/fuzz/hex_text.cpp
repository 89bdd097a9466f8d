// HexStrToBin over arbitrary text and byte counts: never writes past the count, never
// reads past the text's end, and what it reads back from its own output is the same.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "sim/core/HexCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int count = data[0];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<unsigned char> out(static_cast<size_t>(count) + 1, 0xA5);
    const int fromText = hxsim::HexTextToBytes(text.c_str(), out.data(), count);
    if (fromText < 0 || fromText > count || out[static_cast<size_t>(count)] != 0xA5) __builtin_trap();
    for (int i = fromText; i < count; ++i)
        if (out[static_cast<size_t>(i)] != 0) __builtin_trap();
    std::string again(static_cast<size_t>(count) * 3 + 1, '\0');
    hxsim::BytesToHexText(out.data(), again.data(), count, true);
    std::vector<unsigned char> back(static_cast<size_t>(count) + 1, 0);
    if (hxsim::HexTextToBytes(again.c_str(), back.data(), count) != count) __builtin_trap();
    if (std::memcmp(back.data(), out.data(), static_cast<size_t>(count)) != 0) __builtin_trap();
    return 0;
}
