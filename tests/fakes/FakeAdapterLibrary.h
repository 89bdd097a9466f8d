// A scripted stand-in for the driver library, for tests of the core. It records every
// call with its arguments, answers from plain fields that a test sets, behaves like a
// minimal adapter for the setters (a set value is what the matching query reads), and can
// make any call fail once, a number of times, or always. Safe to call from several threads.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "adapter/AdapterLibrary.h"

namespace hx::test {

class FakeAdapterLibrary : public AdapterLibrary {
public:
    struct WrittenKey {
        int index, lengthCode, isDefault;
        std::vector<uint8_t> bytes;
    };
    struct WrittenOid {
        unsigned long oid;
        std::vector<uint8_t> bytes;
    };

    // --- What the fake answers (set by tests; guarded by Lock() when threads run) ---
    std::vector<AdapterListEntry> adapterList;       // CreateNICAdapterList
    int adapterListResult = -2;                      // overrides the count when not -2
    std::map<std::string, std::string> hlmValues;    // "subkey|value" -> text (QueryHLMReg)
    int isWindows95 = 0;
    std::map<std::string, int> openResults;          // instance key -> HxOpenAdapter result (default 1)
    std::array<uint8_t, 16> supportedRates{0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24,
                                           0x30, 0x48, 0x60, 0x6C};
    int driverVersion = 0x02054317;
    std::array<uint8_t, 6> mac{0x00, 0x0A, 0xEB, 0x12, 0x34, 0x56};
    int connectState = 1;
    int networkType = 1;
    int channel = 6;
    int linkSpeed = 54000;
    int rssi = -60;
    int commQuality = 80;
    int regionCode = 0x10;
    int regionAnswer = -2;                           // QueryWL_OperationRegionCode when not -2
    std::string ssid;
    std::array<uint8_t, 6> bssid{};
    std::vector<uint8_t> supportChannels{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    int wzcStatus = 0;
    std::vector<uint8_t> surveyData;                 // copied by WL_RetrieveSiteSurveyData
    // Settings as last set.
    int authMode = -1, wepStatus = -1, preamble = -1, powerSave = -1, useOwnOids = -1;
    std::array<uint8_t, 16> desiredRate{};
    std::vector<WrittenKey> keys;
    std::vector<WrittenOid> oids;
    int wzcStops = 0, wzcStarts = 0, surveyStarts = 0;

    // --- Scripting ---
    // The next `times` calls of `name` fail (times -1: every call from now on).
    void Fail(const std::string& name, int times = 1);
    void ClearFailures();
    // Successive results of a query, used before its field (e.g. RSSI -60, -70, -80).
    void Script(const std::string& name, std::deque<int> results);
    // Runs before the named call is answered (on the caller's thread, without the lock).
    void OnCall(const std::string& name, std::function<void()> hook);

    // --- Inspection ---
    std::vector<std::string> Calls() const;                       // "Name(args)" in order
    std::vector<std::string> CallNames() const;                   // "Name" in order
    int CountOf(const std::string& name) const;
    void ClearCalls();
    std::unique_lock<std::recursive_mutex> Lock() const { return std::unique_lock(mutex_); }

    // --- AdapterLibrary ---
    int CreateNICAdapterList(AdapterListEntry* entries, int maxEntries) override;
    int QueryWL_IsWindows95() override;
    int QueryHLMReg(const char* subKey, const char* valueName, char* buffer, unsigned long* size) override;
    int Query_FixWindisPnPBug() override;
    int HXStopWZCService() override;
    int HXStartWZCService() override;
    int HexStrToBin(const char* text, unsigned char* out, int count) override;
    int BinToHexStr(const unsigned char* bytes, char* out, int count, int separated) override;
    int HxOpenAdapter(AdapterHandle* adapter) override;
    int QueryWL_SupportedRate(AdapterHandle* adapter, unsigned char rates[16]) override;
    int QueryWL_DriverVersion(AdapterHandle* adapter) override;
    int GetNICAdapterMAC(AdapterHandle* adapter, unsigned char mac[6]) override;
    int QueryWL_ConnectState(AdapterHandle* adapter) override;
    int QueryWL_NetworkType(AdapterHandle* adapter) override;
    int QueryWL_Channel(AdapterHandle* adapter) override;
    int QueryWL_CurrentLinkSpeed(AdapterHandle* adapter) override;
    int QueryWL_RSSI(AdapterHandle* adapter) override;
    int QueryWL_CommQuality(AdapterHandle* adapter) override;
    int QueryWL_OperationRegionCode(AdapterHandle* adapter) override;
    int QueryWL_SSID(AdapterHandle* adapter, char* buffer) override;
    int QueryWL_BSSID(AdapterHandle* adapter, unsigned char bssid[6]) override;
    int QueryWL_SupportChannel(AdapterHandle* adapter, unsigned char channels[14], int* count) override;
    int SetWL_NetworkType(AdapterHandle* adapter, int networkType) override;
    int SetWL_AuthenticationMode(AdapterHandle* adapter, int mode) override;
    int SetWL_Channel(AdapterHandle* adapter, int channel) override;
    int SetWL_WEPStatus(AdapterHandle* adapter, int status) override;
    int SetWL_PreambleMode(AdapterHandle* adapter, int mode) override;
    int SetWL_PSMode(AdapterHandle* adapter, int mode) override;
    int SetWL_OperationRegionCode(AdapterHandle* adapter, int region) override;
    int SetWL_RegionAndSupportChannel(AdapterHandle* adapter, int region) override;
    int SetWL_SSID(AdapterHandle* adapter, const char* ssid, int length) override;
    int SetWL_DesiredRate(AdapterHandle* adapter, const unsigned char rates[16]) override;
    int SetWL_WriteKey(AdapterHandle* adapter, int index, int lengthCode, int isDefault,
                       const unsigned char* key) override;
    int SetWL_BSSID(AdapterHandle* adapter, const unsigned char bssid[6]) override;
    int SetWL_HXUseHXOidState(AdapterHandle* adapter, int useOwnOids) override;
    int WL_SiteSurveyStart(AdapterHandle* adapter) override;
    int WL_RetrieveSiteSurveyData(AdapterHandle* adapter, unsigned char* buffer, int size) override;
    int WL_FilteSiteSurveyData(AdapterHandle* adapter, unsigned char* buffer) override;
    int WriteOid(AdapterHandle* adapter, unsigned long oid, void* buffer, int length) override;
    int QueryWL_CheckWZCStatus(AdapterHandle* adapter) override;

private:
    // Records the call; true when it is to fail. Runs the hook first.
    bool Enter(const std::string& name, const std::string& args);
    // The scripted result of a call, if any is left.
    bool Scripted(const std::string& name, int& result);

    mutable std::recursive_mutex mutex_;
    std::vector<std::pair<std::string, std::string>> calls_;
    std::map<std::string, int> failures_;
    std::map<std::string, std::deque<int>> scripts_;
    std::map<std::string, std::function<void()>> hooks_;
};

}  // namespace hx::test
