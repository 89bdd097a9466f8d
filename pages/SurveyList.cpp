#include "pages/SurveyList.h"

#include <algorithm>

#include "adapter/LittleEndian.h"

namespace hx {

int ChannelFromFrequency(uint32_t dsConfigKHz) {
    if (dsConfigKHz == 2484000) return 14;
    return (static_cast<int>(dsConfigKHz / 1000) - 2412) / 5 + 1;
}

int SignalPercentFromRssi(int rssi) {
    rssi = std::clamp(rssi, -105, -40);
    return (rssi + 105) * 100 / 65;
}

VendorSuites ReadVendorSuites(const uint8_t* elements, size_t length) {
    VendorSuites suites;
    ForEachElement(elements, length, [&](uint8_t id, const uint8_t* element, size_t size) {
        if (id != kVendorElementId) return true;
        suites.found = true;
        // The pairwise count sits at offset 12, the first pairwise suite type at 17 and
        // the first key management suite type at 19 + 4n; an element too short to hold
        // them lists no suites.
        if (size < 18) return true;
        const size_t n = GetLe16(element + 12);
        if (n == 0) return true;
        const size_t akmAt = 19 + 4 * n;
        suites.pairwise = element[17];
        suites.akm = akmAt < size ? element[akmAt] : 0;
        return true;
    });
    return suites;
}

void ClassifySecurity(const VendorSuites& suites, uint32_t privacy, SurveyEntry& entry) {
    if (!suites.found) {
        entry.authenticationMode = 2;
        entry.encryption = privacy == 1 ? 0 : 1;
        return;
    }
    if (suites.akm == 2) {
        entry.authenticationMode = 4;
    } else if (suites.akm == 1 && entry.networkType == 1) {
        entry.authenticationMode = 3;
    } else {
        entry.authenticationMode = 2;
    }
    switch (suites.pairwise) {
    case 1:
    case 5: entry.encryption = 0; break;
    case 2: entry.encryption = 4; break;
    case 4: entry.encryption = 6; break;
    default: entry.encryption = 1; break;
    }
}

std::vector<SurveyEntry> ParseSurveyList(const uint8_t* buffer, size_t size) {
    std::vector<SurveyEntry> entries;
    for (const BssidRecordView& record : SurveyRecords(buffer, size, kMaxSurveyEntries)) {
        SurveyEntry entry;
        entry.bssid = record.Mac();
        const size_t ssidLength = std::min<size_t>(record.U32(BssidRecord::SsidLength), 32);
        entry.ssid.assign(reinterpret_cast<const char*>(record.bytes + BssidRecord::Ssid), ssidLength);
        entry.networkType = static_cast<int>(record.U32(BssidRecord::InfrastructureMode));
        entry.channel = ChannelFromFrequency(record.U32(BssidRecord::DsConfig));
        entry.signal = SignalPercentFromRssi(static_cast<int32_t>(record.U32(BssidRecord::Rssi)));
        ClassifySecurity(ReadVendorSuites(record.Elements(), record.ElementsLength()),
                         record.U32(BssidRecord::Privacy), entry);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace hx
