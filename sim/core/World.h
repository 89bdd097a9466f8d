// The simulated world: the HX-88U adapter with everything the utility can set, the network
// adapters the system lists, the networks in range, the Zero Configuration service, and
// time. Every operation first brings the world up to the clock's time: scans complete,
// association attempts run, signals drift, links are lost and handshakes time out.
//
// Not thread-safe: the library's export layer serialises every call with one lock.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "adapter/AdapterHandle.h"
#include "sim/core/AirCapture.h"
#include "sim/core/ApSession.h"
#include "sim/core/AssociationRules.h"
#include "sim/core/Clock.h"
#include "sim/core/FaultPlan.h"
#include "sim/core/Scenario.h"
#include "sim/core/SurveyList.h"

namespace hxsim {

constexpr int kFail = -1;

// Everything the utility has pushed into the adapter.
struct AdapterSettings {
    StationSecurity security;
    int channel = 1;
    int preamble = 2;
    int powerSave = 0;
    int useOwnOids = 0;
    std::array<uint8_t, 16> desiredRates{};   // zero: every supported rate
    bool ssidSet = false;                     // SetWL_SSID was called since power-on
    std::string ssid;
    std::optional<Mac> fixedBssid;
    int regionInForce = 0;
    int channelPlanRegion = 0;
};

struct Link {
    bool associated = false;
    int network = -1;                         // index into the scenario; -1 for our own cell
    NetworkSpec ownCell;                      // an ad hoc cell the adapter started itself
    Admission admission;
    Millis since = 0;
};

struct WorldEvent {
    Millis at;
    std::string text;
};

class World {
public:
    World(Scenario scenario, std::shared_ptr<Clock> clock);
    ~World();

    // Brings the world up to the clock.
    void Sync();
    Millis Now() const { return now_; }
    const Scenario& GetScenario() const { return scenario_; }
    FaultPlan& Faults() { return faults_; }

    // --- Calls without an adapter record ---------------------------------------------
    int ListAdapters(hx::AdapterListEntry* entries, int maxEntries) const;
    int ReadMachineRegistry(const char* subKey, const char* valueName, char* buffer,
                            unsigned long* size) const;
    int StopZeroConfigService();
    int StartZeroConfigService();
    const CertificateSpec* FindCertificate(const std::string& store, const std::string& subject,
                                           const std::string& issuer) const;

    // --- The adapter record ---------------------------------------------------------
    int Open(hx::AdapterHandle* adapter);
    bool IsOpen(const hx::AdapterHandle* adapter) const;

    // --- Queries (the adapter is open) ----------------------------------------------
    void SupportedRates(unsigned char rates[16]) const;
    int DriverVersion() const { return static_cast<int>(scenario_.adapter.driverVersion); }
    const Mac& AdapterMac() const { return scenario_.adapter.mac; }
    // 0 associated; 2 when the last join failed because the access point refused the
    // shared-key authentication (until a setting changes or a join succeeds); else 1.
    int ConnectState() const { return link_.associated ? 0 : authenticationRefused_ ? 2 : 1; }
    int NetworkType() const { return settings_.security.networkType; }
    int Channel() const;
    int LinkSpeedKbps() const;
    int Rssi() const;
    int Quality() const;
    int RegionCode() const { return settings_.regionInForce; }
    int Ssid(char* buffer) const;
    int Bssid(unsigned char bssid[6]) const;
    int SupportChannels(unsigned char channels[14], int* count) const;
    int ZeroConfigStatus() const;

    // --- Setters (0 or -1) ------------------------------------------------------------
    int SetNetworkType(int type);
    int SetAuthenticationMode(int mode);
    int SetChannel(int channel);
    int SetWepStatus(int status);
    int SetPreamble(int mode);
    int SetPowerSave(int mode);
    int SetOperationRegion(int region);
    int SetChannelPlan(int region);
    int SetSsid(const char* ssid, int length);
    int SetDesiredRates(const unsigned char rates[16]);
    int WriteWepKey(int index, int lengthCode, int isDefault, const unsigned char* key);
    int SetBssid(const unsigned char bssid[6]);
    int SetUseOwnOids(int state);
    int StartScan();
    int RetrieveScan(unsigned char* buffer, int size);
    // WL_FilteSiteSurveyData: the filter of SurveyList.h over the list in `buffer`, walked
    // no further than the bytes the last read into that buffer wrote (the call gives no
    // length); a buffer no read has filled is walked as the usual 12004 bytes.
    int FilterScan(unsigned char* buffer);
    int WriteOid(unsigned long oid, const void* buffer, int length);

    // --- EAPOL between the station and the access point -------------------------------
    int SendEapol(const unsigned char* frame, int length);
    // The next frame for the station, if any.
    std::optional<std::vector<uint8_t>> TakeEapol();
    // The security element of the association request in force (the adapter's RSN
    // element, or the network's WPA element); empty when not associated or for none.
    const std::vector<uint8_t>& AssociationElement() const { return link_.admission.associationElement; }

    // --- Control ----------------------------------------------------------------------
    void Plug();
    void Unplug();
    bool Plugged() const { return plugged_; }
    void SetZeroConfigStatus(int status) { scenario_.wzcStatus = status; }
    bool ZeroConfigServiceRunning() const { return wzcRunning_; }
    // Finds a network by BSSID text or SSID; -1 when none.
    int FindNetwork(const std::string& bssidOrSsid) const;
    void SetNetworkSignal(int network, int meanRssi);
    void SetNetworkDrift(int network, int driftDb);
    void Deauthenticate(const std::string& reason);
    void SetTiming(const Timing& timing) { scenario_.timing = timing; }
    // Records the air into a pcap file from now on (AirCapture.h), of at most limitBytes;
    // false when the file cannot be written. A capture under way is ended first.
    bool StartCapture(const std::string& path, size_t limitBytes = AirCapture::kDefaultLimit);
    void StopCapture();
    const AirCapture* Capture() const { return capture_.get(); }

    // --- State, for the report and the tests -----------------------------------------
    const AdapterSettings& Settings() const { return settings_; }
    const Link& CurrentLink() const { return link_; }
    const NetworkSpec* LinkedNetwork() const;
    const ApSession* Session() const { return session_.get(); }
    ApSession* Session() { return session_.get(); }
    bool PortAuthorised() const;
    bool Scanning() const { return scanEndsAt_.has_value(); }
    const std::vector<SurveyRecord>& LastScan() const { return scanList_; }
    const std::vector<InstalledKey>& InstalledKeys() const { return keys_; }
    const std::deque<WorldEvent>& Events() const { return events_; }
    int SignalOf(int network) const;
    int WzcStops() const { return wzcStops_; }
    // How often the driver was told whose OIDs to use (SetWL_HXUseHXOidState accepted).
    int UseOwnOidsCalls() const { return useOwnOidsCalls_; }
    int WzcStarts() const { return wzcStarts_; }
    int Associations() const { return associations_; }
    int Deauthentications() const { return deauths_; }
    int OpenHandles() const { return static_cast<int>(handles_.size()); }

private:
    // How often an association checks that the network is still heard.
    static constexpr Millis kLinkCheckMs = 250;
    static bool IsBroadcastOrZero(const Mac& mac);

    void AdvanceTo(Millis t);
    void PowerOn();
    void Log(const std::string& text);
    std::vector<int> PlanChannels() const;
    bool Visible(int network) const;
    std::vector<SurveyRecord> Listen() const;
    void TryJoin();
    void Associate(int network, const Admission& admission);
    void StartOwnCell();
    void DropLink(const std::string& reason, Millis rejoinAfter);
    void SettingsChanged();
    void ScheduleJoin(Millis at);
    bool LinkStillFits() const;
    uint32_t NextRandom();
    // What the capture hears: the beacons of a completed scan, and a join attempt from the
    // probe response to the association response.
    void CaptureBeacons();
    void CaptureJoin(const NetworkSpec& network, const Admission& admission);
    void CaptureEapol(const uint8_t* frame, size_t length, bool fromAccessPoint);

    Scenario scenario_;
    std::shared_ptr<Clock> clock_;
    Millis now_ = 0;
    FaultPlan faults_;
    bool plugged_ = true;
    bool wzcRunning_ = true;
    int wzcStops_ = 0, wzcStarts_ = 0;
    int useOwnOidsCalls_ = 0;
    std::vector<int32_t> handles_;
    int32_t nextHandle_ = 0x4D0;
    AdapterSettings settings_;
    Link link_;
    bool authenticationRefused_ = false;
    std::unique_ptr<ApSession> session_;
    std::vector<InstalledKey> keys_;
    std::optional<Millis> joinAt_;
    std::optional<Millis> scanEndsAt_;
    std::optional<Millis> linkCheckAt_;
    std::vector<SurveyRecord> scanList_;
    // The buffers the last reads of the list filled, and how many bytes each got.
    std::deque<std::pair<const unsigned char*, int>> listsHandedOver_;
    std::deque<WorldEvent> events_;
    std::unique_ptr<AirCapture> capture_;
    int associations_ = 0, deauths_ = 0;
    uint32_t random_;
};

}  // namespace hxsim
