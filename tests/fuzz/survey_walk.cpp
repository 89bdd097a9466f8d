// The walk over a driver survey list and a record's elements, over arbitrary bytes: the
// input is copied into a buffer of exactly its size, so ASan catches any read past it.
// The first six bytes are the BSSID looked for. Every element found lies inside the
// record, starts with 0xDD and is exactly as long as its length byte says.
#include <cstdint>
#include <cstring>
#include <vector>

#include "auth/WpaElement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    const std::vector<uint8_t> list(data + 6, data + size);
    const auto record = hx::FindSurveyRecord(list, data);
    if (!record) return 0;
    if (record->data() < list.data() || record->data() + record->size() > list.data() + list.size())
        __builtin_trap();
    if (std::memcmp(record->data() + hx::BssidRecord::MacAddress, data, 6) != 0) __builtin_trap();
    for (const auto element : hx::VendorElements(*record)) {
        if (element.data() < record->data() ||
            element.data() + element.size() > record->data() + record->size())
            __builtin_trap();
        if (element.size() < 2 || element[0] != hx::kVendorElementId || element.size() != 2u + element[1])
            __builtin_trap();
    }
    return 0;
}
