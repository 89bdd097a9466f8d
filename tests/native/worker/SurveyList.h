// Builds driver survey lists (NDIS 802.11 BSSID list, extended records) for the tests,
// with the means to spoil the lengths a driver could get wrong.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace hx::test {

using Bytes = std::vector<uint8_t>;
using Mac = std::array<uint8_t, 6>;

struct SurveyRecordSpec {
    Mac bssid{};
    Bytes elements;                        // the variable elements, raw
    std::optional<uint32_t> length = std::nullopt;   // Length as written, instead of the real size
    std::optional<uint32_t> ieLength = std::nullopt; // IELength as written, instead of 12 + elements
};

inline void PutLe32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

inline Bytes SurveyRecord(const SurveyRecordSpec& spec) {
    Bytes record(116 + 12 + spec.elements.size(), 0);
    std::memcpy(&record[4], spec.bssid.data(), 6);
    record[12] = 4;
    std::memcpy(&record[16], "Test", 4);
    PutLe32(record, 48, 1);                 // Privacy
    PutLe32(record, 72, 2437000);           // DSConfig: channel 6
    PutLe32(record, 92, 1);                 // infrastructure
    std::memcpy(&record[128], spec.elements.data(), spec.elements.size());
    PutLe32(record, 0, spec.length.value_or(static_cast<uint32_t>(record.size())));
    PutLe32(record, 112, spec.ieLength.value_or(static_cast<uint32_t>(12 + spec.elements.size())));
    return record;
}

// NumberOfItems is the number of records unless given.
inline Bytes SurveyList(const std::vector<SurveyRecordSpec>& records,
                        std::optional<uint32_t> numberOfItems = std::nullopt) {
    Bytes list(4, 0);
    PutLe32(list, 0, numberOfItems.value_or(static_cast<uint32_t>(records.size())));
    for (const auto& spec : records) {
        const Bytes record = SurveyRecord(spec);
        list.insert(list.end(), record.begin(), record.end());
    }
    return list;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A WPA (version 1) element: PSK key management, one cipher suite for group and pairwise.
inline Bytes WpaElement(uint8_t cipherSuite) {
    return {0xDD, 0x16, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0x00, 0x50, 0xF2, cipherSuite,
            0x01, 0x00, 0x00, 0x50, 0xF2, cipherSuite, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02};
}

}  // namespace hx::test
