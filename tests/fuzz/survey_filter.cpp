// The adapter library's filter of a scan list over arbitrary bytes, as the utility calls
// it on its survey buffer before reading it: it never reads or writes outside the buffer,
// keeps each BSSID once and only whole records, and what it leaves the page reads.
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "adapter/BssidListLayout.h"
#include "adapter/LittleEndian.h"
#include "pages/SurveyList.h"
#include "sim/core/SurveyList.h"

namespace {

using hx::GetLe32;
namespace Offset = hx::BssidRecord;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 20000) return 0;
    // Exactly the input's size, so that the sanitizer sees any access past it.
    std::vector<uint8_t> buffer(data, data + size);
    const int kept = hxsim::FilterSurveyList(buffer.data(), static_cast<int>(buffer.size()));
    if (size < hx::kSurveyListHeader) {
        if (kept != -1) __builtin_trap();
        return 0;
    }
    if (kept < 0 || static_cast<uint32_t>(kept) != GetLe32(buffer.data())) __builtin_trap();

    std::set<std::vector<uint8_t>> addresses;
    size_t at = hx::kSurveyListHeader;
    for (int i = 0; i < kept; ++i) {
        if (buffer.size() - at < Offset::MinimumSize) __builtin_trap();
        const uint8_t* record = buffer.data() + at;
        const uint32_t length = GetLe32(record + Offset::Length);
        const uint32_t ieLength = GetLe32(record + Offset::IeLength);
        if (length < Offset::MinimumSize || length > buffer.size() - at) __builtin_trap();
        if (ieLength < Offset::FixedIes || ieLength > length - Offset::MinimumSize) __builtin_trap();
        if (GetLe32(record + Offset::SsidLength) > Offset::SsidSize) __builtin_trap();
        if (!addresses.insert({record + Offset::MacAddress, record + Offset::MacAddress + 6}).second) __builtin_trap();
        at += length;
    }

    const auto entries = hx::ParseSurveyList(buffer.data(), buffer.size());
    if (entries.size() > static_cast<size_t>(kept)) __builtin_trap();
    return 0;
}
