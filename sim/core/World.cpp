#include "sim/core/World.h"

#include <algorithm>
#include <cstring>

#include "auth/SupplicantRecords.h"
#include "sim/core/BeaconElements.h"
#include "sim/core/RadioPlan.h"
#include "sim/core/ScenarioParser.h"
#include "sim/core/SignalDrift.h"
#include "sim/core/TextUtil.h"

namespace hxsim {
namespace {

constexpr const char* kClassKeyNt =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
constexpr Millis kLinkCheckMs = 250;
constexpr size_t kEventLogSize = 64;
constexpr size_t kOutboxLimit = 16;
constexpr int kStrongEnoughToBeHeardNextDoor = -56;
constexpr int kNextChannelLossDb = 18;

uint32_t GetLe32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsBroadcastOrZero(const Mac& mac) {
    return std::all_of(mac.begin(), mac.end(), [](uint8_t b) { return b == 0; }) ||
           std::all_of(mac.begin(), mac.end(), [](uint8_t b) { return b == 0xFF; });
}

}  // namespace

World::World(Scenario scenario, std::shared_ptr<Clock> clock)
    : scenario_(std::move(scenario)), clock_(std::move(clock)), random_(scenario_.seed * 2654435761u + 1) {
    now_ = clock_->Now();
    plugged_ = scenario_.adapter.plugged;
    if (plugged_) PowerOn();
}

World::~World() = default;

uint32_t World::NextRandom() {
    random_ = random_ * 1664525u + 1013904223u;
    return random_ >> 8;
}

void World::Log(const std::string& text) {
    events_.push_back({now_, text});
    while (events_.size() > kEventLogSize) events_.pop_front();
}

void World::Sync() { AdvanceTo(clock_->Now()); }

// Runs every timed event due by t in time order, each at its own moment.
void World::AdvanceTo(Millis t) {
    for (int guard = 0; guard < 1000000; ++guard) {
        std::optional<Millis> next;
        auto consider = [&](const std::optional<Millis>& at) {
            if (at && (!next || *at < *next)) next = at;
        };
        consider(joinAt_);
        consider(scanEndsAt_);
        consider(linkCheckAt_);
        if (session_) consider(session_->NextDeadline());
        if (!next || *next > t) break;
        now_ = std::max(now_, *next);

        if (joinAt_ && *joinAt_ <= now_) {
            joinAt_.reset();
            TryJoin();
        } else if (scanEndsAt_ && *scanEndsAt_ <= now_) {
            scanEndsAt_.reset();
            scanList_ = Listen();
            Log("scan complete: " + std::to_string(scanList_.size()) + " records");
        } else if (linkCheckAt_ && *linkCheckAt_ <= now_) {
            linkCheckAt_ = now_ + kLinkCheckMs;
            if (link_.associated && link_.network >= 0) {
                if (!Visible(link_.network)) DropLink("beacons lost", scenario_.timing.reconnectMs);
            }
        } else if (session_) {
            session_->Advance(now_);
            if (session_->DeauthReason()) {
                ++deauths_;
                DropLink("deauthenticated: " + *session_->DeauthReason(), scenario_.timing.reconnectMs);
            }
        }
    }
    now_ = std::max(now_, t);
}

void World::PowerOn() {
    settings_ = AdapterSettings{};
    settings_.regionInForce = scenario_.adapter.factoryRegion;
    settings_.channelPlanRegion = scenario_.adapter.factoryRegion;
    link_ = Link{};
    session_.reset();
    keys_.clear();
    joinAt_.reset();
    linkCheckAt_.reset();
    scanList_.clear();
    // The driver scans once on its own when the adapter comes up.
    scanEndsAt_ = now_ + scenario_.timing.scanMs;
}

// --- The adapter list and the registry ---------------------------------------------------

int World::ListAdapters(hx::AdapterListEntry* entries, int maxEntries) const {
    if (entries == nullptr || maxEntries <= 0) return kFail;
    int n = 0;
    for (const NicEntry& nic : scenario_.nics) {
        if (nic.isSimulatedAdapter && !plugged_) continue;
        if (n >= maxEntries) break;
        hx::AdapterListEntry& e = entries[n++];
        std::memset(&e, 0, sizeof e);
        std::strncpy(e.name, nic.name.c_str(), sizeof e.name - 1);
        std::strncpy(e.description, nic.description.c_str(), sizeof e.description - 1);
        std::strncpy(e.instanceKey, nic.instanceKey.c_str(), sizeof e.instanceKey - 1);
    }
    return n;
}

int World::ReadMachineRegistry(const char* subKey, const char* valueName, char* buffer,
                               unsigned long* size) const {
    if (subKey == nullptr || valueName == nullptr || buffer == nullptr || size == nullptr) return kFail;
    const std::string key(subKey);
    const std::string prefix(kClassKeyNt);
    if (key.size() <= prefix.size() || !EqualsIgnoreCase(key.substr(0, prefix.size()), prefix)) return kFail;
    const std::string instance = key.substr(prefix.size());
    for (const NicEntry& nic : scenario_.nics) {
        if (!EqualsIgnoreCase(nic.instanceKey, instance)) continue;
        if (nic.isSimulatedAdapter && !plugged_) return kFail;
        std::string value;
        if (EqualsIgnoreCase(valueName, "MatchingDeviceId")) value = nic.matchingDeviceId;
        else if (EqualsIgnoreCase(valueName, "DriverDesc")) value = nic.description;
        else return kFail;
        const unsigned long needed = static_cast<unsigned long>(value.size() + 1);
        if (*size < needed) {
            *size = needed;
            return kFail;
        }
        std::memcpy(buffer, value.c_str(), needed);
        *size = needed;
        return 0;
    }
    return kFail;
}

int World::StopZeroConfigService() {
    if (!wzcRunning_) return kFail;
    wzcRunning_ = false;
    ++wzcStops_;
    Log("Zero Configuration service stopped");
    return 0;
}

int World::StartZeroConfigService() {
    if (wzcRunning_) return kFail;
    wzcRunning_ = true;
    ++wzcStarts_;
    Log("Zero Configuration service started");
    return 0;
}

// While the service runs it reports its own status; a stopped service controls nothing.
int World::ZeroConfigStatus() const { return wzcRunning_ ? scenario_.wzcStatus : 0; }

const CertificateSpec* World::FindCertificate(const std::string& store, const std::string& subject,
                                              const std::string& issuer) const {
    for (const CertificateSpec& c : scenario_.certificates)
        if (EqualsIgnoreCase(c.store, store) && c.subject == subject && c.issuer == issuer) return &c;
    return nullptr;
}

// --- Opening ------------------------------------------------------------------------------

int World::Open(hx::AdapterHandle* adapter) {
    if (adapter == nullptr || !plugged_) return 0;
    const std::string name(adapter->name, strnlen(adapter->name, sizeof adapter->name));
    const auto nic = std::find_if(scenario_.nics.begin(), scenario_.nics.end(), [&](const NicEntry& n) {
        return n.name == name && (n.isSimulatedAdapter || n.opens);
    });
    if (nic == scenario_.nics.end()) return 0;
    const int32_t handle = nextHandle_++;
    handles_.push_back(handle);
    adapter->deviceHandle = handle;
    adapter->libraryWord532 = 0x4D495348;  // marks a record this library opened
    adapter->libraryWord536 = static_cast<int32_t>(handles_.size());
    adapter->libraryWord540 = 0;
    Log("adapter opened (" + nic->instanceKey + ")");
    return 1;
}

bool World::IsOpen(const hx::AdapterHandle* adapter) const {
    if (adapter == nullptr || !plugged_) return false;
    return std::find(handles_.begin(), handles_.end(), adapter->deviceHandle) != handles_.end();
}

// --- Radio -------------------------------------------------------------------------------

std::vector<int> World::PlanChannels() const {
    const int region = settings_.channelPlanRegion == 0 ? scenario_.adapter.factoryRegion
                                                          : settings_.channelPlanRegion;
    return ChannelsOfRegion(region);
}

int World::SignalOf(int network) const {
    return SignalAt(scenario_.networks[network], scenario_.seed, now_);
}

bool World::Visible(int network) const {
    const NetworkSpec& n = scenario_.networks[network];
    const auto plan = PlanChannels();
    if (std::find(plan.begin(), plan.end(), n.channel) == plan.end()) return false;
    return SignalOf(network) >= scenario_.timing.linkLossDbm;
}

// What a scan hears right now. A strong access point is also heard on the channel next
// to its own, as real radios do; the filter removes such duplicates.
std::vector<SurveyRecord> World::Listen() const {
    std::vector<SurveyRecord> records;
    const auto plan = PlanChannels();
    const auto inPlan = [&](int c) { return std::find(plan.begin(), plan.end(), c) != plan.end(); };
    for (int i = 0; i < static_cast<int>(scenario_.networks.size()); ++i) {
        if (!Visible(i)) continue;
        const NetworkSpec& n = scenario_.networks[i];
        SurveyRecord r;
        r.bssid = n.bssid;
        r.ssid = n.hidden ? std::string() : n.ssid;
        r.privacy = n.privacy;
        r.rssi = SignalOf(i);
        r.channel = n.channel;
        r.adhoc = n.adhoc;
        r.beaconInterval = n.beaconInterval;
        r.rates = n.rates;
        r.ies = BeaconElements(n, static_cast<uint64_t>(now_) * 1000 + (n.bssid[5] << 10));
        records.push_back(r);
        if (!n.adhoc && r.rssi >= kStrongEnoughToBeHeardNextDoor) {
            const int next = inPlan(n.channel + 1) ? n.channel + 1 : n.channel - 1;
            if (inPlan(next)) {
                SurveyRecord echo = r;
                echo.channel = next;
                echo.rssi = r.rssi - kNextChannelLossDb;
                records.push_back(echo);
            }
        }
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const SurveyRecord& a, const SurveyRecord& b) { return a.channel < b.channel; });
    return records;
}

void World::ScheduleJoin(Millis at) {
    if (!joinAt_ || at < *joinAt_) joinAt_ = at;
}

// One association attempt with the settings in force: the strongest network that carries
// the wanted SSID (any, for an empty SSID in infrastructure mode), has the wanted type,
// lets the adapter in and, with a fixed BSSID, is that one. The attempt scans, so the
// list of networks is refreshed too.
void World::TryJoin() {
    if (!plugged_ || link_.associated || !settings_.ssidSet) return;
    scanList_ = Listen();
    const bool adhoc = settings_.security.networkType == NetworkTypeCode::AdHoc;
    if (settings_.fixedBssid) {
        const int fixed = FindNetwork(MacText(*settings_.fixedBssid));
        if (fixed >= 0 && scenario_.networks[fixed].ssid != settings_.ssid && !settings_.ssid.empty()) {
            Log("fixed BSSID belongs to another network; released");
            settings_.fixedBssid.reset();
        }
    }
    int best = -1;
    int bestSignal = -1000;
    Admission bestAdmission;
    std::string refusal = "no network with this SSID in range";
    for (int i = 0; i < static_cast<int>(scenario_.networks.size()); ++i) {
        const NetworkSpec& n = scenario_.networks[i];
        if (!Visible(i)) continue;
        if (settings_.ssid.empty() ? adhoc : n.ssid != settings_.ssid) continue;
        if (settings_.fixedBssid && n.bssid != *settings_.fixedBssid) {
            refusal = "fixed BSSID not in range";
            continue;
        }
        const Admission a = Admit(n, settings_.security);
        if (!a.admitted) {
            refusal = a.refusal;
            continue;
        }
        if (SignalOf(i) > bestSignal) {
            best = i;
            bestSignal = SignalOf(i);
            bestAdmission = a;
        }
    }
    if (best >= 0) {
        Associate(best, bestAdmission);
        return;
    }
    if (adhoc && !settings_.ssid.empty() && !settings_.fixedBssid &&
        settings_.security.authMode != AuthCode::Wpa && settings_.security.authMode != AuthCode::WpaPsk &&
        settings_.security.authMode != AuthCode::Shared) {
        StartOwnCell();
        return;
    }
    Log("join \"" + settings_.ssid + "\" failed: " + refusal);
    joinAt_ = now_ + scenario_.timing.reconnectMs;
}

void World::Associate(int network, const Admission& admission) {
    const NetworkSpec& n = scenario_.networks[network];
    link_ = Link{};
    link_.associated = true;
    link_.network = network;
    link_.admission = admission;
    link_.since = now_;
    linkCheckAt_ = now_ + kLinkCheckMs;
    keys_.clear();
    ++associations_;
    Log("associated with " + MacText(n.bssid) + " \"" + n.ssid + "\" (" + admission.authentication + ")");
    if (admission.authentication == "wpa-psk" || admission.authentication == "wpa-802.1x") {
        session_ = std::make_unique<ApSession>(scenario_, n, scenario_.adapter.mac, admission.pairwiseCipher,
                                               admission.groupCipher, now_);
    }
}

// An ad hoc SSID that no cell carries: the adapter starts the cell itself on its channel.
void World::StartOwnCell() {
    const auto plan = PlanChannels();
    NetworkSpec cell;
    cell.ssid = settings_.ssid;
    cell.adhoc = true;
    cell.channel = std::find(plan.begin(), plan.end(), settings_.channel) != plan.end()
                       ? settings_.channel
                       : (plan.empty() ? 1 : plan.front());
    cell.privacy = settings_.security.wepStatus != WepStatusCode::Disabled;
    cell.rates = {0x82, 0x84, 0x8B, 0x96};
    uint32_t h = 2166136261u;
    for (char c : settings_.ssid) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    for (uint8_t b : scenario_.adapter.mac) h = (h ^ b) * 16777619u;
    cell.bssid = {0x02, static_cast<uint8_t>(h >> 24), static_cast<uint8_t>(h >> 16),
                  static_cast<uint8_t>(h >> 8), static_cast<uint8_t>(h), scenario_.adapter.mac[5]};
    cell.meanRssi = -40;
    cell.driftDb = 0;
    link_ = Link{};
    link_.associated = true;
    link_.network = -1;
    link_.ownCell = cell;
    link_.admission.admitted = true;
    link_.admission.authentication = cell.privacy ? "open" : "none";
    link_.since = now_;
    linkCheckAt_.reset();
    keys_.clear();
    ++associations_;
    Log("started ad hoc cell \"" + cell.ssid + "\" on channel " + std::to_string(cell.channel));
}

void World::DropLink(const std::string& reason, Millis rejoinAfter) {
    if (link_.associated) Log("link lost: " + reason);
    link_ = Link{};
    session_.reset();
    keys_.clear();
    linkCheckAt_.reset();
    if (settings_.ssidSet) joinAt_ = now_ + rejoinAfter;
}

bool World::LinkStillFits() const {
    if (!link_.associated) return false;
    if (link_.network < 0) {
        return settings_.security.networkType == NetworkTypeCode::AdHoc && link_.ownCell.ssid == settings_.ssid;
    }
    const NetworkSpec& n = scenario_.networks[link_.network];
    if (settings_.fixedBssid && *settings_.fixedBssid != n.bssid) return false;
    const Admission a = Admit(n, settings_.security);
    return a.admitted && a.pairwiseCipher == link_.admission.pairwiseCipher;
}

// After a change of a setting that association depends on: a link that no longer fits
// is given up, and an adapter that wants a network tries again shortly.
void World::SettingsChanged() {
    if (link_.associated) {
        if (LinkStillFits()) {
            if (link_.network >= 0)
                link_.admission.wepKeysMatch = Admit(scenario_.networks[link_.network], settings_.security).wepKeysMatch;
            return;
        }
        DropLink("settings no longer fit the network", scenario_.timing.associateMs);
        return;
    }
    if (settings_.ssidSet) ScheduleJoin(now_ + scenario_.timing.associateMs);
}

const NetworkSpec* World::LinkedNetwork() const {
    if (!link_.associated) return nullptr;
    return link_.network >= 0 ? &scenario_.networks[link_.network] : &link_.ownCell;
}

bool World::PortAuthorised() const {
    if (!link_.associated) return false;
    if (!session_) return true;  // no 802.1X port on open and WEP networks
    return session_->PortAuthorised();
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
    if (mode < AuthCode::Open || mode > AuthCode::WpaPsk) return kFail;
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

int World::RetrieveScan(unsigned char* buffer, int size) const {
    if (buffer == nullptr || size < 4) return kFail;
    return WriteSurveyList(scanList_, buffer, size) ? 0 : kFail;
}

// The NDIS 5.1 key record written with request 0xFF12FF1D.
int World::WriteOid(unsigned long oid, const void* buffer, int length) {
    if (buffer == nullptr || length < 0) return kFail;
    if (oid != 0xFF12FF1DUL) return kFail;
    const auto* p = static_cast<const uint8_t*>(buffer);
    if (length < hx::kNdisKeyHeaderSize) return kFail;
    const uint32_t recordLength = GetLe32(p + hx::NdisKeyOffset::Length);
    const uint32_t keyIndex = GetLe32(p + hx::NdisKeyOffset::KeyIndex);
    const uint32_t keyLength = GetLe32(p + hx::NdisKeyOffset::KeyLength);
    if (keyLength == 0 || keyLength > 64 || recordLength > static_cast<uint32_t>(length) ||
        recordLength < hx::kNdisKeyHeaderSize + keyLength)
        return kFail;
    if (!link_.associated) return kFail;
    Mac bssid;
    std::memcpy(bssid.data(), p + hx::NdisKeyOffset::Bssid, 6);
    const bool pairwise = (keyIndex & 0x40000000u) != 0;
    const NetworkSpec* n = LinkedNetwork();
    if (pairwise ? bssid != n->bssid : (bssid != n->bssid && !IsBroadcastOrZero(bssid))) return kFail;
    const int index = static_cast<int>(keyIndex & 0xFF);
    if (index > 3) return kFail;
    InstalledKey key;
    if (session_) {
        key = session_->InstallKey(pairwise, index, p + hx::NdisKeyOffset::KeyMaterial,
                                   static_cast<int>(keyLength), p + hx::NdisKeyOffset::KeyRsc);
    } else {
        key.pairwise = pairwise;
        key.index = index;
        key.material.assign(p + hx::NdisKeyOffset::KeyMaterial, p + hx::NdisKeyOffset::KeyMaterial + keyLength);
        std::memcpy(key.rsc.data(), p + hx::NdisKeyOffset::KeyRsc, 8);
    }
    keys_.erase(std::remove_if(keys_.begin(), keys_.end(),
                               [&](const InstalledKey& k) { return k.pairwise == pairwise && k.index == index; }),
                keys_.end());
    keys_.push_back(key);
    Log(std::string(pairwise ? "pairwise" : "group") + " key installed, index " + std::to_string(index) +
        (key.matches ? ", matches" : session_ ? ", DOES NOT match" : ""));
    return 0;
}

// --- EAPOL ---------------------------------------------------------------------------------

int World::SendEapol(const unsigned char* frame, int length) {
    if (frame == nullptr || length < 4 || length > 4096) return kFail;
    if (!link_.associated) return kFail;
    if (session_) {
        session_->OnFrameFromStation(frame, length, now_);
        auto& outbox = session_->Outbox();
        while (outbox.size() > kOutboxLimit) outbox.pop_front();
    }
    return 0;
}

std::optional<std::vector<uint8_t>> World::TakeEapol() {
    if (!session_ || session_->Outbox().empty()) return std::nullopt;
    auto frame = std::move(session_->Outbox().front());
    session_->Outbox().pop_front();
    return frame;
}

// --- Control -------------------------------------------------------------------------------

void World::Plug() {
    if (plugged_) return;
    plugged_ = true;
    PowerOn();
    Log("adapter plugged in");
}

void World::Unplug() {
    if (!plugged_) return;
    DropLink("adapter unplugged", 0);
    plugged_ = false;
    handles_.clear();
    joinAt_.reset();
    scanEndsAt_.reset();
    scanList_.clear();
    Log("adapter unplugged");
}

int World::FindNetwork(const std::string& bssidOrSsid) const {
    const auto mac = ParseMac(bssidOrSsid);
    for (int i = 0; i < static_cast<int>(scenario_.networks.size()); ++i) {
        const NetworkSpec& n = scenario_.networks[i];
        if (mac ? n.bssid == *mac : n.ssid == bssidOrSsid) return i;
    }
    return -1;
}

void World::SetNetworkSignal(int network, int meanRssi) {
    scenario_.networks[network].meanRssi = meanRssi;
    Log("signal of " + MacText(scenario_.networks[network].bssid) + " set to " + std::to_string(meanRssi) + " dBm");
}

void World::SetNetworkDrift(int network, int driftDb) { scenario_.networks[network].driftDb = driftDb; }

void World::Deauthenticate(const std::string& reason) {
    if (!link_.associated) return;
    ++deauths_;
    DropLink("deauthenticated: " + reason, scenario_.timing.reconnectMs);
}

}  // namespace hxsim
