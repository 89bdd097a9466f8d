// The RSN element reader over arbitrary bytes: the input is the element's body (at most 255
// bytes, the rest dropped), put behind id 48 and its length byte in a buffer of exactly that
// size, so ASan catches any read past it; the input as a whole element is read too. What is
// accepted is version 1 with suites and PMKIDs that fit in the body they came from.
#include <cstdint>
#include <vector>

#include "adapter/RsnElement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> raw(data, data + size);
    (void)hx::ParseRsnElement(raw);

    const size_t bodySize = size < 255 ? size : 255;
    std::vector<uint8_t> element{hx::kRsnElementId, static_cast<uint8_t>(bodySize)};
    element.insert(element.end(), data, data + bodySize);
    const auto info = hx::ParseRsnElement(element);
    if (!info) return 0;
    if (info->version != hx::kRsnVersion || info->pairwise.empty() || info->akms.empty()) __builtin_trap();
    // Every suite and PMKID read lies in the body; the defaults of an absent pairwise and AKM
    // list add one suite each.
    const size_t listed = 4 * (info->pairwise.size() + info->akms.size()) + 16 * info->pmkids.size();
    if (listed > bodySize + 8) __builtin_trap();
    return 0;
}
