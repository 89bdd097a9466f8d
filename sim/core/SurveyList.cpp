#include "sim/core/SurveyList.h"

#include <algorithm>
#include <cstring>

#include "adapter/BssidListLayout.h"
#include "adapter/LittleEndian.h"
#include "sim/core/BeaconElements.h"
#include "sim/core/RadioPlan.h"

namespace hxsim {
namespace {

namespace Offset = hx::BssidRecord;
using hx::GetLe32;
using hx::PutLe32;

constexpr int kListHeader = static_cast<int>(hx::kSurveyListHeader);
constexpr int kRecordFixedSize = static_cast<int>(Offset::MinimumSize);
constexpr uint32_t kNdis80211DS = 1, kNdis80211OFDM24 = 3;
constexpr uint32_t kConfigurationSize = 32, kFhConfigurationSize = 16;

int RecordSize(const SurveyRecord& r) {
    const int raw = kRecordFixedSize + static_cast<int>(r.ies.size());
    return (raw + 3) & ~3;  // records are kept 4-byte aligned
}

}  // namespace

int SurveyListSize(const std::vector<SurveyRecord>& records) {
    int size = kListHeader;
    for (const auto& r : records) size += RecordSize(r);
    return size;
}

bool WriteSurveyList(const std::vector<SurveyRecord>& records, uint8_t* buffer, int size) {
    if (buffer == nullptr || size < SurveyListSize(records)) return false;
    PutLe32(buffer, static_cast<uint32_t>(records.size()));
    uint8_t* p = buffer + kListHeader;
    for (const auto& r : records) {
        const int length = RecordSize(r);
        std::memset(p, 0, length);
        PutLe32(p + Offset::Length, static_cast<uint32_t>(length));
        std::memcpy(p + Offset::MacAddress, r.bssid.data(), 6);
        const size_t ssidLength = std::min(r.ssid.size(), Offset::SsidSize);
        PutLe32(p + Offset::SsidLength, static_cast<uint32_t>(ssidLength));
        std::memcpy(p + Offset::Ssid, r.ssid.data(), ssidLength);
        PutLe32(p + Offset::Privacy, r.privacy ? 1 : 0);
        PutLe32(p + Offset::Rssi, static_cast<uint32_t>(r.rssi));
        PutLe32(p + Offset::NetworkTypeInUse, HasOfdmRates(r.rates) ? kNdis80211OFDM24 : kNdis80211DS);
        PutLe32(p + Offset::ConfigLength, kConfigurationSize);
        PutLe32(p + Offset::BeaconPeriod, static_cast<uint32_t>(r.beaconInterval));
        PutLe32(p + Offset::AtimWindow, 0);
        PutLe32(p + Offset::DsConfig, static_cast<uint32_t>(ChannelFrequencyKhz(r.channel)));
        PutLe32(p + Offset::FhConfigLength, kFhConfigurationSize);
        PutLe32(p + Offset::InfrastructureMode, r.adhoc ? 0 : 1);
        const size_t rates = std::min(r.rates.size(), Offset::SupportedRatesSize);
        std::memcpy(p + Offset::SupportedRates, r.rates.data(), rates);
        PutLe32(p + Offset::IeLength, static_cast<uint32_t>(r.ies.size()));
        std::memcpy(p + Offset::Ies, r.ies.data(), r.ies.size());
        p += length;
    }
    return true;
}

int FilterSurveyList(uint8_t* buffer, int capacity) {
    if (buffer == nullptr || capacity < kListHeader) return -1;
    const uint32_t count = GetLe32(buffer);
    struct Kept {
        int offset;
        int length;
        int32_t rssi;
    };
    std::vector<Kept> kept;
    int offset = kListHeader;
    for (uint32_t i = 0; i < count; ++i) {
        if (capacity - offset < kRecordFixedSize) break;
        const uint8_t* r = buffer + offset;
        const uint32_t length = GetLe32(r + Offset::Length);
        const uint32_t ieLength = GetLe32(r + Offset::IeLength);
        if (length < Offset::MinimumSize || length > static_cast<uint32_t>(capacity - offset)) break;
        const bool whole = ieLength >= Offset::FixedIes && ieLength <= length - Offset::MinimumSize &&
                           GetLe32(r + Offset::SsidLength) <= Offset::SsidSize;
        if (whole) {
            const auto rssi = static_cast<int32_t>(GetLe32(r + Offset::Rssi));
            auto same = std::find_if(kept.begin(), kept.end(), [&](const Kept& k) {
                return std::memcmp(buffer + k.offset + Offset::MacAddress, r + Offset::MacAddress, 6) == 0;
            });
            if (same == kept.end()) kept.push_back({offset, static_cast<int>(length), rssi});
            else if (rssi > same->rssi) *same = {offset, static_cast<int>(length), rssi};
        }
        offset += static_cast<int>(length);
    }
    std::vector<uint8_t> out(hx::kSurveyListHeader);
    PutLe32(out.data(), static_cast<uint32_t>(kept.size()));
    for (const Kept& k : kept) out.insert(out.end(), buffer + k.offset, buffer + k.offset + k.length);
    std::memcpy(buffer, out.data(), out.size());
    return static_cast<int>(kept.size());
}

}  // namespace hxsim
