#include "pages/SurveyList.h"

#include <algorithm>

#include "adapter/LittleEndian.h"
#include "adapter/WpaSuites.h"
#include "config/WlanSetting.h"

namespace hx {
namespace {

constexpr uint32_t kChannel14KHz = 2484000;   // channel 14 stands apart from the 5 MHz plan
constexpr int kChannel1MHz = 2412;
constexpr int kChannelSpacingMHz = 5;
constexpr int kWeakestRssi = -105;            // reads as 0 %
constexpr int kStrongestRssi = -40;           // reads as 100 %
constexpr uint32_t kPrivacyRequired = 1;

}  // namespace

int ChannelFromFrequency(uint32_t dsConfigKHz) {
    if (dsConfigKHz == kChannel14KHz) return 14;
    return (static_cast<int>(dsConfigKHz / 1000) - kChannel1MHz) / kChannelSpacingMHz + 1;
}

int SignalPercentFromRssi(int rssi) {
    rssi = std::clamp(rssi, kWeakestRssi, kStrongestRssi);
    return (rssi - kWeakestRssi) * 100 / (kStrongestRssi - kWeakestRssi);
}

VendorSuites ReadVendorSuites(const uint8_t* elements, size_t length) {
    VendorSuites suites;
    ForEachElement(elements, length, [&](uint8_t id, const uint8_t* element, size_t size) {
        if (id != kVendorElementId) return true;
        suites.found = true;
        // An element too short to hold the pairwise count and the first pairwise suite
        // lists no suites.
        if (size <= WpaElementOffset::FirstPairwiseType) return true;
        const size_t n = GetLe16(element + WpaElementOffset::PairwiseCount);
        if (n == 0) return true;
        const size_t akmAt = WpaElementOffset::FirstKeyManagementType(n);
        suites.pairwise = element[WpaElementOffset::FirstPairwiseType];
        suites.akm = akmAt < size ? element[akmAt] : 0;
        return true;
    });
    return suites;
}

void ClassifySecurity(const VendorSuites& suites, uint32_t privacy, SurveyEntry& entry) {
    if (!suites.found) {
        entry.authenticationMode = AuthMode::AutoSwitch;
        entry.encryption = privacy == kPrivacyRequired ? WepStatus::Wep : WepStatus::Disabled;
        return;
    }
    if (suites.akm == WpaKeyManagement::Psk) {
        entry.authenticationMode = AuthMode::WpaPsk;
    } else if (suites.akm == WpaKeyManagement::Ieee8021X && entry.networkType == NetworkType::Infrastructure) {
        entry.authenticationMode = AuthMode::Wpa;
    } else {
        entry.authenticationMode = AuthMode::AutoSwitch;
    }
    switch (suites.pairwise) {
    case WpaCipher::Wep40:
    case WpaCipher::Wep104: entry.encryption = WepStatus::Wep; break;
    case WpaCipher::Tkip: entry.encryption = WepStatus::Tkip; break;
    case WpaCipher::Ccmp: entry.encryption = WepStatus::Aes; break;
    default: entry.encryption = WepStatus::Disabled; break;
    }
}

const char* JoinRefusalText(JoinRefusal refusal) {
    switch (refusal) {
    case JoinRefusal::Wpa3Only:
        return "This network uses WPA3 only (SAE). The HX-88U can join WPA2 and WPA networks, but not WPA3.";
    case JoinRefusal::ProtectedFrames:
        return "This network requires protected management frames, which the HX-88U does not support.";
    case JoinRefusal::Unusable:
        return "The HX-88U cannot use the WPA2 security this network asks for.";
    case JoinRefusal::None: break;
    }
    return "";
}

void ClassifyRsn(const std::optional<RsnInfo>& rsn, SurveyEntry& entry) {
    entry.encryption = WepStatus::Aes;
    entry.authenticationMode = AuthMode::Wpa2Psk;
    if (!rsn || entry.networkType != NetworkType::Infrastructure) {
        entry.refusal = JoinRefusal::Unusable;
        return;
    }
    if (rsn->OffersAkm(RsnAkm::Psk)) {
        entry.authenticationMode = AuthMode::Wpa2Psk;
    } else if (rsn->OffersAkm(RsnAkm::Ieee8021X)) {
        entry.authenticationMode = AuthMode::Wpa2;
    } else {
        const bool sae = rsn->OffersAkm(RsnAkm::Sae) || rsn->OffersAkm(RsnAkm::FtSae);
        entry.refusal = sae ? JoinRefusal::Wpa3Only : JoinRefusal::Unusable;
        return;
    }
    if (rsn->capabilities & RsnCapability::Mfpr) {
        entry.refusal = JoinRefusal::ProtectedFrames;
        return;
    }
    const bool groupUsable =
        rsn->groupCipher.Standard(RsnCipher::Ccmp) || rsn->groupCipher.Standard(RsnCipher::Tkip);
    if (rsn->OffersPairwise(RsnCipher::Ccmp)) {
        entry.encryption = WepStatus::Aes;
    } else if (rsn->OffersPairwise(RsnCipher::Tkip)) {
        entry.encryption = WepStatus::Tkip;
    } else {
        entry.refusal = JoinRefusal::Unusable;
    }
    if (!groupUsable) entry.refusal = JoinRefusal::Unusable;
}

void ClassifyNetwork(const uint8_t* elements, size_t length, uint32_t privacy, SurveyEntry& entry) {
    const VendorSuites vendor = ReadVendorSuites(elements, length);
    ClassifySecurity(vendor, privacy, entry);
    std::optional<std::span<const uint8_t>> rsnElement;
    ForEachElement(elements, length, [&](uint8_t id, const uint8_t* element, size_t size) {
        if (id == kRsnElementId) rsnElement.emplace(element, size);
        return !rsnElement;
    });
    if (!rsnElement) return;
    const bool wpaJoinable = AuthMode::RunsWorker(entry.authenticationMode) &&
                             (entry.encryption == WepStatus::Tkip || entry.encryption == WepStatus::Aes);
    SurveyEntry rsn = entry;
    ClassifyRsn(ParseRsnElement(*rsnElement), rsn);
    if (rsn.refusal == JoinRefusal::None || !wpaJoinable) entry = rsn;
}

std::vector<SurveyEntry> ParseSurveyList(const uint8_t* buffer, size_t size) {
    std::vector<SurveyEntry> entries;
    for (const BssidRecordView& record : SurveyRecords(buffer, size, kMaxSurveyEntries)) {
        SurveyEntry entry;
        entry.bssid = record.Mac();
        const size_t ssidLength = std::min<size_t>(record.U32(BssidRecord::SsidLength), BssidRecord::SsidSize);
        entry.ssid.assign(reinterpret_cast<const char*>(record.bytes + BssidRecord::Ssid), ssidLength);
        entry.networkType = static_cast<int>(record.U32(BssidRecord::InfrastructureMode));
        entry.channel = ChannelFromFrequency(record.U32(BssidRecord::DsConfig));
        entry.signal = SignalPercentFromRssi(static_cast<int32_t>(record.U32(BssidRecord::Rssi)));
        ClassifyNetwork(record.Elements(), record.ElementsLength(), record.U32(BssidRecord::Privacy), entry);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace hx
