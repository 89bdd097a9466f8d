// The export layer of our VUVAVO.dll stand-in: every export takes the world's lock, brings
// the simulated world up to the clock, answers a planned failure with the call's failure
// value, checks its pointers and the adapter record, and then asks the world.
#include <algorithm>
#include <chrono>
#include <cstring>

#include "adapter/VuvavoApi.h"
#include "sim/EapolTransport.h"
#include "sim/SimulatorExports.h"
#include "sim/core/HexCodec.h"
#include "sim/vuvavo/SimulatorHost.h"
#include "sim/vuvavo/ControlServer.h"

namespace {

using hxsim::SimulatorHost;
using hxsim::World;

constexpr int kFailure = -1;

// A call with no adapter record.
template <typename F>
int Unbound(const char* call, int failure, F&& f) {
    SimulatorHost& host = SimulatorHost::Instance();
    hxsim::StartControlServer();
    auto lock = host.Lock();
    World& world = host.SyncedWorld();
    if (world.Faults().ShouldFail(call)) return failure;
    return f(world);
}

// A call on the open adapter; fails for a null or unknown record and while unplugged.
template <typename F>
int Bound(const char* call, AdapterHandle* adapter, F&& f) {
    SimulatorHost& host = SimulatorHost::Instance();
    hxsim::StartControlServer();
    auto lock = host.Lock();
    World& world = host.SyncedWorld();
    if (world.Faults().ShouldFail(call)) return kFailure;
    if (!world.IsOpen(adapter)) return kFailure;
    return f(world);
}

}  // namespace

extern "C" {

int HXAPI CreateNICAdapterList(AdapterListEntry* entries, int maxEntries) {
    return Unbound("CreateNICAdapterList", kFailure,
                   [&](World& w) { return w.ListAdapters(entries, maxEntries); });
}

int HXAPI QueryWL_IsWindows95(void) {
    return Unbound("QueryWL_IsWindows95", kFailure, [](World&) { return 0; });
}

int HXAPI QueryHLMReg(const char* subKey, const char* valueName, char* buffer, unsigned long* size) {
    return Unbound("QueryHLMReg", kFailure,
                   [&](World& w) { return w.ReadMachineRegistry(subKey, valueName, buffer, size); });
}

int HXAPI Query_FixWindisPnPBug(void) {
    return Unbound("Query_FixWindisPnPBug", kFailure, [](World&) { return 0; });
}

int HXAPI HXStopWZCService(void) {
    return Unbound("HXStopWZCService", kFailure, [](World& w) {
        const int result = w.StopZeroConfigService();
        hxsim::RefreshExitReport(w);
        return result;
    });
}

int HXAPI HXStartWZCService(void) {
    return Unbound("HXStartWZCService", kFailure, [](World& w) {
        const int result = w.StartZeroConfigService();
        hxsim::RefreshExitReport(w);
        return result;
    });
}

int HXAPI HexStrToBin(const char* text, unsigned char* out, int count) {
    return Unbound("HexStrToBin", kFailure, [&](World&) { return hxsim::HexTextToBytes(text, out, count); });
}

int HXAPI BinToHexStr(const unsigned char* bytes, char* out, int count, int separated) {
    return Unbound("BinToHexStr", kFailure,
                   [&](World&) { return hxsim::BytesToHexText(bytes, out, count, separated != 0); });
}

int HXAPI HxOpenAdapter(AdapterHandle* adapter) {
    return Unbound("HxOpenAdapter", 0, [&](World& w) { return w.Open(adapter); });
}

int HXAPI QueryWL_SupportedRate(AdapterHandle* adapter, unsigned char* rates) {
    return Bound("QueryWL_SupportedRate", adapter, [&](World& w) {
        if (rates == nullptr) return kFailure;
        w.SupportedRates(rates);
        return 0;
    });
}

int HXAPI QueryWL_DriverVersion(AdapterHandle* adapter) {
    return Bound("QueryWL_DriverVersion", adapter, [](World& w) { return w.DriverVersion(); });
}

int HXAPI GetNICAdapterMAC(AdapterHandle* adapter, unsigned char* mac) {
    return Bound("GetNICAdapterMAC", adapter, [&](World& w) {
        if (mac == nullptr) return kFailure;
        std::memcpy(mac, w.AdapterMac().data(), 6);
        return 0;
    });
}

int HXAPI QueryWL_ConnectState(AdapterHandle* adapter) {
    return Bound("QueryWL_ConnectState", adapter, [](World& w) { return w.ConnectState(); });
}

int HXAPI QueryWL_NetworkType(AdapterHandle* adapter) {
    return Bound("QueryWL_NetworkType", adapter, [](World& w) { return w.NetworkType(); });
}

int HXAPI QueryWL_Channel(AdapterHandle* adapter) {
    return Bound("QueryWL_Channel", adapter, [](World& w) { return w.Channel(); });
}

int HXAPI QueryWL_CurrentLinkSpeed(AdapterHandle* adapter) {
    return Bound("QueryWL_CurrentLinkSpeed", adapter, [](World& w) { return w.LinkSpeedKbps(); });
}

int HXAPI QueryWL_RSSI(AdapterHandle* adapter) {
    return Bound("QueryWL_RSSI", adapter, [](World& w) { return w.Rssi(); });
}

int HXAPI QueryWL_CommQuality(AdapterHandle* adapter) {
    return Bound("QueryWL_CommQuality", adapter, [](World& w) { return w.Quality(); });
}

int HXAPI QueryWL_OperationRegionCode(AdapterHandle* adapter) {
    return Bound("QueryWL_OperationRegionCode", adapter, [](World& w) { return w.RegionCode(); });
}

int HXAPI QueryWL_SSID(AdapterHandle* adapter, char* buffer) {
    return Bound("QueryWL_SSID", adapter, [&](World& w) { return w.Ssid(buffer); });
}

int HXAPI QueryWL_BSSID(AdapterHandle* adapter, unsigned char* bssid) {
    return Bound("QueryWL_BSSID", adapter, [&](World& w) { return w.Bssid(bssid); });
}

int HXAPI QueryWL_SupportChannel(AdapterHandle* adapter, unsigned char* channels, int* count) {
    return Bound("QueryWL_SupportChannel", adapter, [&](World& w) { return w.SupportChannels(channels, count); });
}

int HXAPI SetWL_NetworkType(AdapterHandle* adapter, int networkType) {
    return Bound("SetWL_NetworkType", adapter, [&](World& w) { return w.SetNetworkType(networkType); });
}

int HXAPI SetWL_AuthenticationMode(AdapterHandle* adapter, int mode) {
    return Bound("SetWL_AuthenticationMode", adapter, [&](World& w) { return w.SetAuthenticationMode(mode); });
}

int HXAPI SetWL_Channel(AdapterHandle* adapter, int channel) {
    return Bound("SetWL_Channel", adapter, [&](World& w) { return w.SetChannel(channel); });
}

int HXAPI SetWL_WEPStatus(AdapterHandle* adapter, int status) {
    return Bound("SetWL_WEPStatus", adapter, [&](World& w) { return w.SetWepStatus(status); });
}

int HXAPI SetWL_PreambleMode(AdapterHandle* adapter, int mode) {
    return Bound("SetWL_PreambleMode", adapter, [&](World& w) { return w.SetPreamble(mode); });
}

int HXAPI SetWL_PSMode(AdapterHandle* adapter, int mode) {
    return Bound("SetWL_PSMode", adapter, [&](World& w) { return w.SetPowerSave(mode); });
}

int HXAPI SetWL_OperationRegionCode(AdapterHandle* adapter, int region) {
    return Bound("SetWL_OperationRegionCode", adapter, [&](World& w) { return w.SetOperationRegion(region); });
}

int HXAPI SetWL_RegionAndSupportChannel(AdapterHandle* adapter, int region) {
    return Bound("SetWL_RegionAndSupportChannel", adapter, [&](World& w) { return w.SetChannelPlan(region); });
}

int HXAPI SetWL_SSID(AdapterHandle* adapter, const char* ssid, int length) {
    return Bound("SetWL_SSID", adapter, [&](World& w) { return w.SetSsid(ssid, length); });
}

int HXAPI SetWL_DesiredRate(AdapterHandle* adapter, const unsigned char* rates) {
    return Bound("SetWL_DesiredRate", adapter, [&](World& w) { return w.SetDesiredRates(rates); });
}

int HXAPI SetWL_WriteKey(AdapterHandle* adapter, int index, int lengthCode, int isDefault,
                         const unsigned char* key) {
    return Bound("SetWL_WriteKey", adapter,
                 [&](World& w) { return w.WriteWepKey(index, lengthCode, isDefault, key); });
}

int HXAPI SetWL_BSSID(AdapterHandle* adapter, const unsigned char* bssid) {
    return Bound("SetWL_BSSID", adapter, [&](World& w) { return w.SetBssid(bssid); });
}

int HXAPI SetWL_HXUseHXOidState(AdapterHandle* adapter, int useOwnOids) {
    return Bound("SetWL_HXUseHXOidState", adapter, [&](World& w) { return w.SetUseOwnOids(useOwnOids); });
}

int HXAPI WL_SiteSurveyStart(AdapterHandle* adapter) {
    return Bound("WL_SiteSurveyStart", adapter, [](World& w) { return w.StartScan(); });
}

int HXAPI WL_RetrieveSiteSurveyData(AdapterHandle* adapter, unsigned char* buffer, int size) {
    return Bound("WL_RetrieveSiteSurveyData", adapter, [&](World& w) { return w.RetrieveScan(buffer, size); });
}

int HXAPI WL_FilteSiteSurveyData(AdapterHandle* adapter, unsigned char* buffer) {
    return Bound("WL_FilteSiteSurveyData", adapter, [&](World& w) { return w.FilterScan(buffer); });
}

int HXAPI WriteOid(AdapterHandle* adapter, unsigned long oid, void* buffer, int length) {
    return Bound("WriteOid", adapter, [&](World& w) { return w.WriteOid(oid, buffer, length); });
}

int HXAPI QueryWL_CheckWZCStatus(AdapterHandle* adapter) {
    return Bound("QueryWL_CheckWZCStatus", adapter, [](World& w) { return w.ZeroConfigStatus(); });
}

// --- Private exports -----------------------------------------------------------------------

int HXAPI HxSimSendEapol(AdapterHandle* adapter, const unsigned char* frame, int length) {
    const int result =
        Bound("HxSimSendEapol", adapter, [&](World& w) { return w.SendEapol(frame, length); });
    SimulatorHost::Instance().FrameArrived().notify_all();
    return result;
}

// Waits in short slices so that retransmissions due on the steady clock are made while
// the station waits.
int HXAPI HxSimReceiveEapol(AdapterHandle* adapter, unsigned char* frame, int capacity, int timeoutMs) {
    using namespace std::chrono;
    constexpr int kLongestWaitMs = 2000;
    constexpr auto kSlice = milliseconds(10);
    if (frame == nullptr || capacity <= 0) return kFailure;
    SimulatorHost& host = SimulatorHost::Instance();
    const auto deadline = steady_clock::now() + milliseconds(std::clamp(timeoutMs, 0, kLongestWaitMs));
    auto lock = host.Lock();
    {
        World& world = host.SyncedWorld();
        if (world.Faults().ShouldFail("HxSimReceiveEapol")) return kFailure;
    }
    for (;;) {
        World& world = host.SyncedWorld();
        if (!world.IsOpen(adapter)) return kFailure;
        if (auto next = world.TakeEapol()) {
            if (static_cast<int>(next->size()) > capacity) return kFailure;
            std::copy(next->begin(), next->end(), frame);
            return static_cast<int>(next->size());
        }
        const auto now = steady_clock::now();
        if (now >= deadline) return 0;
        host.FrameArrived().wait_until(lock, std::min(deadline, now + kSlice));
    }
}

int HXAPI HxSimAssociationElement(AdapterHandle* adapter, unsigned char* element, int capacity) {
    if (element == nullptr || capacity < 0) return kFailure;
    return Bound("HxSimAssociationElement", adapter, [&](World& w) {
        const auto& offered = w.AssociationElement();
        if (static_cast<int>(offered.size()) > capacity) return kFailure;
        std::copy(offered.begin(), offered.end(), element);
        return static_cast<int>(offered.size());
    });
}

int HXAPI HxSimFindCertificate(const char* store, const char* subject, const char* issuer,
                               HxSimCertificate* out) {
    if (store == nullptr || subject == nullptr || issuer == nullptr || out == nullptr) return kFailure;
    SimulatorHost& host = SimulatorHost::Instance();
    auto lock = host.Lock();
    const hxsim::CertificateSpec* c = host.SyncedWorld().FindCertificate(store, subject, issuer);
    if (c == nullptr) return kFailure;
    std::memset(out, 0, sizeof *out);
    std::strncpy(out->subject, c->subject.c_str(), sizeof out->subject - 1);
    std::strncpy(out->issuer, c->issuer.c_str(), sizeof out->issuer - 1);
    std::memcpy(out->key, c->key.data(), sizeof out->key);
    out->hasPrivateKey = c->hasPrivateKey ? 1 : 0;
    out->exportable = c->exportable ? 1 : 0;
    return 0;
}

int HXAPI HxSimControl(const char* command, char* reply, int capacity) {
    if (command == nullptr) return kFailure;
    const hxsim::ControlReply result = hxsim::Control(command);
    if (reply != nullptr && capacity > 0) {
        const size_t n = std::min(result.text.size(), static_cast<size_t>(capacity - 1));
        std::memcpy(reply, result.text.data(), n);
        reply[n] = '\0';
    }
    return result.ok ? 0 : kFailure;
}

}  // extern "C"
