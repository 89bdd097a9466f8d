// The survey list reader over arbitrary driver bytes: whatever the buffer holds, it reads
// nothing outside it and lists at most 100 networks with at most 32-byte names.
#include <cstdint>
#include <cstring>
#include <vector>

#include "pages/SurveyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exactly sized copy, so any read past the end is caught.
    std::vector<uint8_t> buffer(data, data + size);
    const auto entries = hx::ParseSurveyList(buffer.data(), buffer.size());
    if (entries.size() > 100) __builtin_trap();
    for (const auto& entry : entries) {
        if (entry.ssid.size() > 32) __builtin_trap();
        if (entry.signal < 0 || entry.signal > 100) __builtin_trap();
    }
    return 0;
}
