// The radio: which networks the adapter hears, scans, association attempts, the adapter's
// own ad hoc cell, and losing a link.
#include "sim/core/World.h"

#include <algorithm>

#include "sim/core/BeaconElements.h"
#include "sim/core/RadioPlan.h"
#include "sim/core/ScenarioParser.h"
#include "sim/core/SignalDrift.h"

namespace hxsim {
namespace {

constexpr int kStrongEnoughToBeHeardNextDoor = -56;
constexpr int kNextChannelLossDb = 18;

// What a network's beacons and probe responses carry now (each with a time stamp of its own).
std::vector<uint8_t> HeardElements(const NetworkSpec& n, Millis now) {
    return BeaconElements(n, static_cast<uint64_t>(now) * 1000 + (n.bssid[5] << 10));
}

}  // namespace

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
        r.ies = HeardElements(n, now_);
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
// the wanted SSID (any that announces its SSID, for an empty SSID in infrastructure mode), has the wanted type,
// lets the adapter in and, with a fixed BSSID, is that one. The attempt scans, so the
// list of networks is refreshed too.
void World::TryJoin() {
    if (!plugged_ || link_.associated || !settings_.ssidSet) return;
    scanList_ = Listen();
    const bool adhoc = settings_.security.networkType == NetworkTypeCode::AdHoc;
    int best = -1;
    int bestSignal = -1000;
    Admission bestAdmission;
    std::string refusal = "no network with this SSID in range";
    bool keyRefused = false;
    for (int i = 0; i < static_cast<int>(scenario_.networks.size()); ++i) {
        const NetworkSpec& n = scenario_.networks[i];
        if (!Visible(i)) continue;
        // An empty SSID asks for any network that says its name: a hidden one is joined only
        // by a station that names it.
        if (settings_.ssid.empty() ? adhoc || n.hidden : n.ssid != settings_.ssid) continue;
        if (settings_.fixedBssid && n.bssid != *settings_.fixedBssid) {
            refusal = "fixed BSSID not in range";
            keyRefused = false;
            continue;
        }
        const Admission a = Admit(n, settings_.security);
        if (!a.admitted) {
            if (a.status != 0) CaptureJoin(n, a);  // the access point answered the request
            refusal = a.refusal;
            keyRefused = a.keyRefused;
            continue;
        }
        if (SignalOf(i) > bestSignal) {
            best = i;
            bestSignal = SignalOf(i);
            bestAdmission = a;
        }
    }
    if (best >= 0) {
        CaptureJoin(scenario_.networks[best], bestAdmission);
        Associate(best, bestAdmission);
        return;
    }
    const int mode = settings_.security.authMode;
    if (adhoc && !settings_.ssid.empty() && !settings_.fixedBssid &&
        (mode == AuthCode::Open || mode == AuthCode::AutoSwitch)) {
        StartOwnCell();
        return;
    }
    Log("join \"" + settings_.ssid + "\" failed: " + refusal);
    authenticationRefused_ = keyRefused;
    joinAt_ = now_ + scenario_.timing.reconnectMs;
}

void World::Associate(int network, const Admission& admission) {
    const NetworkSpec& n = scenario_.networks[network];
    link_ = Link{};
    authenticationRefused_ = false;
    link_.associated = true;
    link_.network = network;
    link_.admission = admission;
    link_.since = now_;
    linkCheckAt_ = now_ + kLinkCheckMs;
    keys_.clear();
    ++associations_;
    Log("associated with " + MacText(n.bssid) + " \"" + n.ssid + "\" (" +
        AuthKindName(admission.authentication) + ")");
    if (HasKeyHandshake(admission.authentication)) {
        session_ = std::make_unique<ApSession>(scenario_, n, scenario_.adapter.mac, admission, now_);
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
    authenticationRefused_ = false;
    link_.associated = true;
    link_.network = -1;
    link_.ownCell = cell;
    link_.admission.admitted = true;
    link_.admission.authentication = cell.privacy ? AuthKind::Open : AuthKind::None;
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
    authenticationRefused_ = false;
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

// --- The air, captured ----------------------------------------------------------------------

void World::CaptureBeacons() {
    if (!capture_) return;
    const Mac broadcast{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    for (int i = 0; i < static_cast<int>(scenario_.networks.size()); ++i) {
        if (!Visible(i)) continue;
        const NetworkSpec& n = scenario_.networks[i];
        capture_->Management(now_, Frame80211::Beacon, broadcast, n.bssid, n.bssid, HeardElements(n, now_));
    }
    if (capture_->Full()) StopCapture();
}

// A join as the air carries it. Cells have no association, and a shared key
// authentication (its challenge) is not written.
void World::CaptureJoin(const NetworkSpec& n, const Admission& a) {
    if (!capture_ || n.adhoc) return;
    const Mac& station = scenario_.adapter.mac;
    std::vector<uint8_t> rates;
    for (uint8_t r : scenario_.adapter.rates)
        if (r != 0) rates.push_back(r);
    uint16_t capability = Capability::Ess | Capability::ShortPreamble;
    if (settings_.security.wepStatus != WepStatusCode::Disabled) capability |= Capability::Privacy;
    capture_->Management(now_, Frame80211::ProbeResponse, station, n.bssid, n.bssid, HeardElements(n, now_));
    if (a.authentication != AuthKind::Shared) {
        capture_->Management(now_, Frame80211::Authentication, n.bssid, station, n.bssid, AuthenticationBody(1, 0));
        capture_->Management(now_, Frame80211::Authentication, station, n.bssid, n.bssid, AuthenticationBody(2, 0));
    }
    capture_->Management(now_, Frame80211::AssociationRequest, n.bssid, station, n.bssid,
                         AssociationRequestBody(capability, n.ssid, rates, a.associationElement));
    capture_->Management(now_, Frame80211::AssociationResponse, station, n.bssid, n.bssid,
                         AssociationResponseBody(CapabilityOf(n), a.status, 1, n.rates));
    if (capture_->Full()) StopCapture();
}

void World::CaptureEapol(const uint8_t* frame, size_t length, bool fromAccessPoint) {
    const NetworkSpec* n = LinkedNetwork();
    if (!capture_ || n == nullptr) return;
    capture_->Eapol(now_, n->bssid, scenario_.adapter.mac, fromAccessPoint, frame, length);
    if (capture_->Full()) StopCapture();
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
}  // namespace hxsim
