#include "sim/core/SurveyList.h"

#include <algorithm>
#include <cstring>

#include "sim/core/BeaconElements.h"
#include "sim/core/RadioPlan.h"

namespace hxsim {
namespace {

void PutLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetLe32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int RecordSize(const SurveyRecord& r) {
    const int raw = kSurveyRecordFixedSize + static_cast<int>(r.ies.size());
    return (raw + 3) & ~3;  // records are kept 4-byte aligned
}

constexpr uint32_t kNdis80211DS = 1, kNdis80211OFDM24 = 3;

}  // namespace

int SurveyListSize(const std::vector<SurveyRecord>& records) {
    int size = 4;
    for (const auto& r : records) size += RecordSize(r);
    return size;
}

bool WriteSurveyList(const std::vector<SurveyRecord>& records, uint8_t* buffer, int size) {
    if (buffer == nullptr || size < SurveyListSize(records)) return false;
    PutLe32(buffer, static_cast<uint32_t>(records.size()));
    uint8_t* p = buffer + 4;
    for (const auto& r : records) {
        const int length = RecordSize(r);
        std::memset(p, 0, length);
        PutLe32(p + SurveyOffset::Length, static_cast<uint32_t>(length));
        std::memcpy(p + SurveyOffset::MacAddress, r.bssid.data(), 6);
        const size_t ssidLength = std::min<size_t>(r.ssid.size(), 32);
        PutLe32(p + SurveyOffset::SsidLength, static_cast<uint32_t>(ssidLength));
        std::memcpy(p + SurveyOffset::Ssid, r.ssid.data(), ssidLength);
        PutLe32(p + SurveyOffset::Privacy, r.privacy ? 1 : 0);
        PutLe32(p + SurveyOffset::Rssi, static_cast<uint32_t>(r.rssi));
        PutLe32(p + SurveyOffset::NetworkTypeInUse, HasOfdmRates(r.rates) ? kNdis80211OFDM24 : kNdis80211DS);
        PutLe32(p + SurveyOffset::ConfigLength, 32);
        PutLe32(p + SurveyOffset::BeaconPeriod, static_cast<uint32_t>(r.beaconInterval));
        PutLe32(p + SurveyOffset::AtimWindow, 0);
        PutLe32(p + SurveyOffset::DsConfig, static_cast<uint32_t>(ChannelFrequencyKhz(r.channel)));
        PutLe32(p + SurveyOffset::FhConfigLength, 16);
        PutLe32(p + SurveyOffset::InfrastructureMode, r.adhoc ? 0 : 1);
        const size_t rates = std::min<size_t>(r.rates.size(), 16);
        std::memcpy(p + SurveyOffset::SupportedRates, r.rates.data(), rates);
        PutLe32(p + SurveyOffset::IeLength, static_cast<uint32_t>(r.ies.size()));
        std::memcpy(p + SurveyOffset::Ies, r.ies.data(), r.ies.size());
        p += length;
    }
    return true;
}

int FilterSurveyList(uint8_t* buffer, int capacity) {
    if (buffer == nullptr || capacity < 4) return -1;
    const uint32_t count = GetLe32(buffer);
    struct Kept {
        int offset;
        int length;
        int32_t rssi;
    };
    std::vector<Kept> kept;
    int offset = 4;
    for (uint32_t i = 0; i < count; ++i) {
        if (capacity - offset < kSurveyRecordFixedSize) break;
        const uint8_t* r = buffer + offset;
        const uint32_t length = GetLe32(r + SurveyOffset::Length);
        const uint32_t ieLength = GetLe32(r + SurveyOffset::IeLength);
        if (length < kSurveyRecordFixedSize || length > static_cast<uint32_t>(capacity - offset)) break;
        const bool whole = ieLength >= kSurveyFixedIeSize && ieLength <= length - kSurveyRecordFixedSize &&
                           GetLe32(r + SurveyOffset::SsidLength) <= 32;
        if (whole) {
            const auto rssi = static_cast<int32_t>(GetLe32(r + SurveyOffset::Rssi));
            auto same = std::find_if(kept.begin(), kept.end(), [&](const Kept& k) {
                return std::memcmp(buffer + k.offset + SurveyOffset::MacAddress, r + SurveyOffset::MacAddress, 6) == 0;
            });
            if (same == kept.end()) kept.push_back({offset, static_cast<int>(length), rssi});
            else if (rssi > same->rssi) *same = {offset, static_cast<int>(length), rssi};
        }
        offset += static_cast<int>(length);
    }
    std::vector<uint8_t> out(4);
    PutLe32(out.data(), static_cast<uint32_t>(kept.size()));
    for (const Kept& k : kept) out.insert(out.end(), buffer + k.offset, buffer + k.offset + k.length);
    std::memcpy(buffer, out.data(), out.size());
    return static_cast<int>(kept.size());
}

}  // namespace hxsim
