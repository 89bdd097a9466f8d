// The world's clock and timed events, power, opening the adapter, and the control
// commands. The rest of World is in the files beside this one: WorldMachine.cpp (what the
// machine answers besides the adapter), WorldRadio.cpp (scans and association),
// WorldSettings.cpp (the adapter's queries and setters) and WorldKeys.cpp (key
// installation and EAPOL).
#include "sim/core/World.h"

#include <algorithm>
#include <cstring>

#include "sim/core/ScenarioParser.h"

namespace hxsim {
namespace {

constexpr size_t kEventLogSize = 64;

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
            CaptureBeacons();
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
    authenticationRefused_ = false;
    session_.reset();
    keys_.clear();
    joinAt_.reset();
    linkCheckAt_.reset();
    scanList_.clear();
    // The driver scans once on its own when the adapter comes up.
    scanEndsAt_ = now_ + scenario_.timing.scanMs;
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

bool World::StartCapture(const std::string& path, size_t limitBytes) {
    StopCapture();
    capture_ = std::make_unique<AirCapture>();
    if (!capture_->Open(path, limitBytes)) {
        capture_.reset();
        Log("capture: cannot write " + path);
        return false;
    }
    Log("capture started: " + path);
    return true;
}

void World::StopCapture() {
    if (!capture_) return;
    Log(std::string(capture_->Full() ? "capture ended at its limit: " : "capture ended: ") + capture_->Path() + ", " +
        std::to_string(capture_->Written()) + " bytes");
    capture_.reset();
}

void World::Deauthenticate(const std::string& reason) {
    if (!link_.associated) return;
    ++deauths_;
    DropLink("deauthenticated: " + reason, scenario_.timing.reconnectMs);
}

}  // namespace hxsim
