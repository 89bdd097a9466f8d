// The adapter library's filter of a scan list over arbitrary bytes, as the utility calls
// it on its survey buffer before reading it: it never reads or writes outside the buffer,
// keeps each BSSID once and only whole records, and what it leaves the page reads.
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "pages/SurveyList.h"
#include "sim/core/SurveyList.h"

namespace {

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 20000) return 0;
    // Exactly the input's size, so that the sanitizer sees any access past it.
    std::vector<uint8_t> buffer(data, data + size);
    const int kept = hxsim::FilterSurveyList(buffer.data(), static_cast<int>(buffer.size()));
    if (size < 4) {
        if (kept != -1) __builtin_trap();
        return 0;
    }
    if (kept < 0 || static_cast<uint32_t>(kept) != Le32(buffer.data())) __builtin_trap();

    std::set<std::vector<uint8_t>> addresses;
    size_t at = 4;
    for (int i = 0; i < kept; ++i) {
        if (buffer.size() - at < hxsim::kSurveyRecordFixedSize) __builtin_trap();
        const uint8_t* record = buffer.data() + at;
        const uint32_t length = Le32(record);
        const uint32_t ieLength = Le32(record + hxsim::SurveyOffset::IeLength);
        if (length < hxsim::kSurveyRecordFixedSize || length > buffer.size() - at) __builtin_trap();
        if (ieLength < hxsim::kSurveyFixedIeSize || ieLength > length - hxsim::kSurveyRecordFixedSize) __builtin_trap();
        if (Le32(record + hxsim::SurveyOffset::SsidLength) > 32) __builtin_trap();
        if (!addresses.insert({record + 4, record + 10}).second) __builtin_trap();
        at += length;
    }

    const auto entries = hx::ParseSurveyList(buffer.data(), buffer.size());
    if (entries.size() > static_cast<size_t>(kept)) __builtin_trap();
    return 0;
}
