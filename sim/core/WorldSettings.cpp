// The adapter's queries and setters as the driver library's exports reach them.
#include "sim/core/World.h"

#include <algorithm>
#include <cstring>

#include "adapter/VuvavoApi.h"
#include "sim/core/RadioPlan.h"
#include "sim/core/ScenarioValues.h"
#include "sim/core/SignalDrift.h"

namespace hxsim {

bool World::IsBroadcastOrZero(const Mac& mac) {
    return std::all_of(mac.begin(), mac.end(), [](uint8_t b) { return b == 0; }) ||
           std::all_of(mac.begin(), mac.end(), [](uint8_t b) { return b == 0xFF; });
}

// --- Queries -----------------------------------------------------------------------------

void World::SupportedRates(unsigned char rates[16]) const {
    std::memcpy(rates, scenario_.adapter.rates.data(), 16);
}

int World::Channel() const {
    if (const NetworkSpec* n = LinkedNetwork()) return n->channel;
    return settings_.channel;
}

int World::Rssi() const {
    if (!link_.associated) return -100;
    if (link_.network < 0) return link_.ownCell.meanRssi;
    return SignalOf(link_.network);
}

int World::LinkSpeedKbps() const {
    const NetworkSpec* n = LinkedNetwork();
    if (n == nullptr) return 0;
    std::vector<uint8_t> ours;
    for (uint8_t r : settings_.desiredRates)
        if (r) ours.push_back(r);
    if (ours.empty()) ours.assign(scenario_.adapter.rates.begin(), scenario_.adapter.rates.end());
    const auto rate = LinkRate(ours, n->rates, Rssi());
    return rate ? (*rate & 0x7F) * 500 : 0;
}

int World::Quality() const {
    if (!link_.associated) return 0;
    const NetworkSpec* n = LinkedNetwork();
    return CommunicationQuality(Rssi(), QualityJitterAt(n->bssid, scenario_.seed, now_));
}

int World::Ssid(char* buffer) const {
    if (buffer == nullptr) return kFail;
    const std::string ssid = link_.associated ? LinkedNetwork()->ssid : settings_.ssid;
    const size_t length = std::min<size_t>(ssid.size(), 32);
    std::memcpy(buffer, ssid.data(), length);
    if (length < 32) buffer[length] = '\0';
    return static_cast<int>(length);
}

int World::Bssid(unsigned char bssid[6]) const {
    if (bssid == nullptr) return kFail;
    const NetworkSpec* n = LinkedNetwork();
    if (n == nullptr) return kFail;
    std::memcpy(bssid, n->bssid.data(), 6);
    return 0;
}

int World::SupportChannels(unsigned char channels[14], int* count) const {
    if (channels == nullptr || count == nullptr) return kFail;
    const auto plan = PlanChannels();
    if (*count < static_cast<int>(plan.size())) return kFail;
    for (size_t i = 0; i < plan.size(); ++i) channels[i] = static_cast<unsigned char>(plan[i]);
    *count = static_cast<int>(plan.size());
    return 0;
}

// --- Setters -------------------------------------------------------------------------------

int World::SetNetworkType(int type) {
    if (type != NetworkTypeCode::AdHoc && type != NetworkTypeCode::Infrastructure) return kFail;
    settings_.security.networkType = type;
    SettingsChanged();
    return 0;
}

int World::SetAuthenticationMode(int mode) {
    // NDIS numbering: 5 (WPA-None, ad hoc WPA) is not a mode this adapter runs.
    if (mode < AuthCode::Open || mode > AuthCode::Wpa2Psk || mode == 5) return kFail;
    settings_.security.authMode = mode;
    SettingsChanged();
    return 0;
}

int World::SetChannel(int channel) {
    if (channel < 1 || channel > 14) return kFail;
    settings_.channel = channel;
    return 0;
}

int World::SetWepStatus(int status) {
    if (status != WepStatusCode::Enabled && status != WepStatusCode::Disabled &&
        status != WepStatusCode::Tkip && status != WepStatusCode::Aes)
        return kFail;
    settings_.security.wepStatus = status;
    SettingsChanged();
    return 0;
}

int World::SetPreamble(int mode) {
    if (mode < 0 || mode > 2) return kFail;
    settings_.preamble = mode;
    return 0;
}

int World::SetPowerSave(int mode) {
    if (mode < 0 || mode > 2) return kFail;
    settings_.powerSave = mode;
    return 0;
}

// Region 0 asks for the adapter's factory region.
int World::SetOperationRegion(int region) {
    if (region != 0 && !IsKnownRegion(region)) return kFail;
    settings_.regionInForce = region == 0 ? scenario_.adapter.factoryRegion : region;
    return 0;
}

int World::SetChannelPlan(int region) {
    if (region != 0 && !IsKnownRegion(region)) return kFail;
    settings_.channelPlanRegion = region == 0 ? scenario_.adapter.factoryRegion : region;
    if (link_.associated) {
        const auto plan = PlanChannels();
        if (std::find(plan.begin(), plan.end(), Channel()) == plan.end())
            DropLink("channel not allowed in the region", scenario_.timing.associateMs);
    }
    return 0;
}

int World::SetSsid(const char* ssid, int length) {
    if (ssid == nullptr || length < 0 || length > 32) return kFail;
    settings_.ssid.assign(ssid, static_cast<size_t>(length));
    settings_.ssidSet = true;
    authenticationRefused_ = false;
    // A BSSID fixed for another network is released by asking for a different SSID, and
    // only then: a BSSID set just before its own SSID holds through the join attempts that
    // come between the two.
    if (settings_.fixedBssid && !settings_.ssid.empty()) {
        const int fixed = FindNetwork(MacText(*settings_.fixedBssid));
        if (fixed >= 0 && scenario_.networks[fixed].ssid != settings_.ssid) {
            Log("fixed BSSID belongs to another network; released");
            settings_.fixedBssid.reset();
        }
    }
    if (link_.associated) DropLink("reassociating", 0);
    joinAt_ = now_ + scenario_.timing.associateMs;
    return 0;
}

int World::SetDesiredRates(const unsigned char rates[16]) {
    if (rates == nullptr) return kFail;
    std::array<uint8_t, 16> wanted{};
    for (int i = 0; i < 16 && rates[i] != 0; ++i) {
        const uint8_t r = rates[i] & 0x7F;
        const bool supported = std::any_of(scenario_.adapter.rates.begin(), scenario_.adapter.rates.end(),
                                           [&](uint8_t s) { return s != 0 && (s & 0x7F) == r; });
        if (!supported) return kFail;
        wanted[i] = r;
    }
    settings_.desiredRates = wanted;
    return 0;
}

int World::WriteWepKey(int index, int lengthCode, int isDefault, const unsigned char* key) {
    static constexpr int kLengths[3] = {5, 13, 29};
    if (key == nullptr || index < 0 || index > 3 || lengthCode < 0 || lengthCode > 2) return kFail;
    settings_.security.wepKeys[index].key.assign(key, key + kLengths[lengthCode]);
    if (isDefault) settings_.security.defaultKey = index;
    SettingsChanged();
    return 0;
}

int World::SetBssid(const unsigned char bssid[6]) {
    if (bssid == nullptr) return kFail;
    Mac mac;
    std::memcpy(mac.data(), bssid, 6);
    if (IsBroadcastOrZero(mac)) settings_.fixedBssid.reset();
    else settings_.fixedBssid = mac;
    SettingsChanged();
    return 0;
}

int World::SetUseOwnOids(int state) {
    if (state != 0 && state != 1) return kFail;
    settings_.useOwnOids = state;
    ++useOwnOidsCalls_;
    return 0;
}

int World::StartScan() {
    if (!scanEndsAt_) {
        const int jitter = scenario_.timing.scanJitterMs > 0
                               ? static_cast<int>(NextRandom() % static_cast<uint32_t>(scenario_.timing.scanJitterMs + 1))
                               : 0;
        scanEndsAt_ = now_ + scenario_.timing.scanMs + jitter;
        Log("scan started");
    }
    return 0;
}

int World::RetrieveScan(unsigned char* buffer, int size) {
    if (buffer == nullptr || size < 4) return kFail;
    if (!WriteSurveyList(scanList_, buffer, size)) return kFail;
    // Two threads of the utility read the list, each into its own buffer.
    constexpr size_t kBuffersRemembered = 8;
    std::erase_if(listsHandedOver_, [&](const auto& list) { return list.first == buffer; });
    if (listsHandedOver_.size() == kBuffersRemembered) listsHandedOver_.pop_front();
    listsHandedOver_.emplace_back(buffer, SurveyListSize(scanList_));
    return 0;
}

int World::FilterScan(unsigned char* buffer) {
    if (buffer == nullptr) return kFail;
    int written = hx::kSurveyBufferSize;
    for (const auto& [filled, size] : listsHandedOver_)
        if (filled == buffer) written = size;
    return FilterSurveyList(buffer, written) < 0 ? kFail : 0;
}
}  // namespace hxsim
