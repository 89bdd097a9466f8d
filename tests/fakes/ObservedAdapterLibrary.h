// A driver library that passes every call on to another one (usually the real exports)
// and tells an observer about it first, by name. Fault sweeps use the observer to count
// calls and to arm a failure just before one particular call; stress tests use it to
// count what was called from which thread.
#pragma once

#include <functional>

#include "adapter/AdapterLibrary.h"

namespace hx::test {

class ObservedAdapterLibrary final : public AdapterLibrary {
public:
    // Called with the export's name before each call is passed on, on the caller's thread.
    using Observer = std::function<void(const char* call)>;

    ObservedAdapterLibrary(AdapterLibrary& inner, Observer observer)
        : inner_(inner), observer_(std::move(observer)) {}

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
    // Tells the observer, then returns the library to pass the call on to.
    AdapterLibrary& Before(const char* call) {
        if (observer_) observer_(call);
        return inner_;
    }

    AdapterLibrary& inner_;
    Observer observer_;
};

}  // namespace hx::test
