// Builds NDIS 802.11 BSSID lists byte by byte for the survey tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/BssidListLayout.h"
#include "adapter/LittleEndian.h"
#include "adapter/VuvavoApi.h"

namespace hx::test {

struct TestBss {
    std::vector<uint8_t> mac{0x00, 0x0C, 0xF1, 0x12, 0x34, 0x56};
    std::string ssid = "net";
    uint32_t privacy = 0;
    int32_t rssi = -60;
    uint32_t frequencyKHz = 2437000;
    uint32_t infrastructure = 1;
    std::vector<uint8_t> elements;   // the variable information elements
};

// A WPA vendor element: 00:50:F2:01, version 1, group suite, pairwise and AKM suite lists.
inline std::vector<uint8_t> WpaElement(std::vector<uint8_t> pairwise, std::vector<uint8_t> akm,
                                       uint8_t group = 2) {
    std::vector<uint8_t> body{0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0x00, 0x50, 0xF2, group};
    body.push_back(static_cast<uint8_t>(pairwise.size()));
    body.push_back(0);
    for (uint8_t p : pairwise) body.insert(body.end(), {0x00, 0x50, 0xF2, p});
    body.push_back(static_cast<uint8_t>(akm.size()));
    body.push_back(0);
    for (uint8_t a : akm) body.insert(body.end(), {0x00, 0x50, 0xF2, a});
    std::vector<uint8_t> element;
    element.reserve(2 + body.size());
    element.push_back(0xDD);
    element.push_back(static_cast<uint8_t>(body.size()));
    for (uint8_t b : body) element.push_back(b);
    return element;
}

// An RSN element: version 1, group suite, pairwise and AKM suite lists (OUI 00:0F:AC), and
// the capabilities when given.
inline std::vector<uint8_t> RsnElement(std::vector<uint8_t> pairwise, std::vector<uint8_t> akm,
                                       int capabilities = -1, uint8_t group = 4) {
    std::vector<uint8_t> element{48, 0, 1, 0, 0x00, 0x0F, 0xAC, group, static_cast<uint8_t>(pairwise.size()), 0};
    for (uint8_t p : pairwise) element.insert(element.end(), {0x00, 0x0F, 0xAC, p});
    element.insert(element.end(), {static_cast<uint8_t>(akm.size()), 0});
    for (uint8_t a : akm) element.insert(element.end(), {0x00, 0x0F, 0xAC, a});
    if (capabilities >= 0) element.insert(element.end(), {static_cast<uint8_t>(capabilities), static_cast<uint8_t>(capabilities >> 8)});
    element[1] = static_cast<uint8_t>(element.size() - 2);
    return element;
}

inline void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) { PutLe32(&bytes[at], value); }

inline std::vector<uint8_t> Record(const TestBss& bss) {
    const size_t ieLength = BssidRecord::FixedIes + bss.elements.size();
    std::vector<uint8_t> record(BssidRecord::Ies + ieLength, 0);
    PutU32(record, BssidRecord::Length, static_cast<uint32_t>(record.size()));
    std::memcpy(&record[BssidRecord::MacAddress], bss.mac.data(), 6);
    PutU32(record, BssidRecord::SsidLength, static_cast<uint32_t>(bss.ssid.size()));
    std::memcpy(&record[BssidRecord::Ssid], bss.ssid.data(), std::min(bss.ssid.size(), BssidRecord::SsidSize));
    PutU32(record, BssidRecord::Privacy, bss.privacy);
    PutU32(record, BssidRecord::Rssi, static_cast<uint32_t>(bss.rssi));
    PutU32(record, BssidRecord::DsConfig, bss.frequencyKHz);
    PutU32(record, BssidRecord::InfrastructureMode, bss.infrastructure);
    PutU32(record, BssidRecord::IeLength, static_cast<uint32_t>(ieLength));
    if (!bss.elements.empty())
        std::memcpy(&record[BssidRecord::Ies + BssidRecord::FixedIes], bss.elements.data(), bss.elements.size());
    return record;
}

inline std::vector<uint8_t> SurveyBuffer(const std::vector<TestBss>& list, size_t size = kSurveyBufferSize) {
    std::vector<uint8_t> buffer(size, 0);
    PutU32(buffer, 0, static_cast<uint32_t>(list.size()));
    size_t at = kSurveyListHeader;
    for (const TestBss& bss : list) {
        const auto record = Record(bss);
        if (at + record.size() > buffer.size()) break;
        std::memcpy(&buffer[at], record.data(), record.size());
        at += record.size();
    }
    return buffer;
}

}  // namespace hx::test
