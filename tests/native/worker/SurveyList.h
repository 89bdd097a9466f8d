// Builds driver survey lists (NDIS 802.11 BSSID list, extended records) for the tests,
// with the means to spoil the lengths a driver could get wrong.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "adapter/BssidListLayout.h"
#include "adapter/LittleEndian.h"

namespace hx::test {

using Bytes = std::vector<uint8_t>;
using Mac = std::array<uint8_t, 6>;

struct SurveyRecordFields {
    Mac bssid{};
    Bytes elements;                        // the variable elements, raw
    std::optional<uint32_t> length = std::nullopt;   // Length as written, instead of the real size
    std::optional<uint32_t> ieLength = std::nullopt; // IELength as written, instead of 12 + elements
};

inline void PutLe32(Bytes& bytes, size_t at, uint32_t value) { hx::PutLe32(&bytes[at], value); }

inline Bytes SurveyRecord(const SurveyRecordFields& fields) {
    Bytes record(BssidRecord::Ies + BssidRecord::FixedIes + fields.elements.size(), 0);
    std::memcpy(&record[BssidRecord::MacAddress], fields.bssid.data(), 6);
    record[BssidRecord::SsidLength] = 4;
    std::memcpy(&record[BssidRecord::Ssid], "Test", 4);
    PutLe32(record, BssidRecord::Privacy, 1);
    PutLe32(record, BssidRecord::DsConfig, 2437000);           // channel 6
    PutLe32(record, BssidRecord::InfrastructureMode, 1);
    std::memcpy(&record[BssidRecord::Ies + BssidRecord::FixedIes], fields.elements.data(), fields.elements.size());
    PutLe32(record, BssidRecord::Length, fields.length.value_or(static_cast<uint32_t>(record.size())));
    PutLe32(record, BssidRecord::IeLength,
            fields.ieLength.value_or(static_cast<uint32_t>(BssidRecord::FixedIes + fields.elements.size())));
    return record;
}

// NumberOfItems is the number of records unless given.
inline Bytes SurveyList(const std::vector<SurveyRecordFields>& records,
                        std::optional<uint32_t> numberOfItems = std::nullopt) {
    Bytes list(kSurveyListHeader, 0);
    PutLe32(list, 0, numberOfItems.value_or(static_cast<uint32_t>(records.size())));
    for (const auto& fields : records) {
        const Bytes record = SurveyRecord(fields);
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
