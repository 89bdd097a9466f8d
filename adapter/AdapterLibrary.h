// The seam to the adapter's driver library: one method per export, same names, same
// arguments. The utility reaches the adapter only through this interface; the real
// implementation calls the library's exports, tests substitute a scripted fake.
#pragma once

#include <cstddef>

#include "adapter/AdapterHandle.h"

namespace hx {

// BinToHexStr's separated text of `count` bytes may take two digits and a separator for
// every byte, then its end: a buffer of this size always holds it.
constexpr size_t SeparatedHexTextSize(size_t count) { return 3 * count + 1; }

class AdapterLibrary {
public:
    virtual ~AdapterLibrary() = default;

    virtual int CreateNICAdapterList(AdapterListEntry* entries, int maxEntries) = 0;
    virtual int QueryWL_IsWindows95() = 0;
    virtual int QueryHLMReg(const char* subKey, const char* valueName, char* buffer,
                            unsigned long* size) = 0;
    virtual int Query_FixWindisPnPBug() = 0;
    virtual int HXStopWZCService() = 0;
    virtual int HXStartWZCService() = 0;
    virtual int HexStrToBin(const char* text, unsigned char* out, int count) = 0;
    virtual int BinToHexStr(const unsigned char* bytes, char* out, int count, int separated) = 0;

    virtual int HxOpenAdapter(AdapterHandle* adapter) = 0;
    virtual int QueryWL_SupportedRate(AdapterHandle* adapter, unsigned char rates[16]) = 0;
    virtual int QueryWL_DriverVersion(AdapterHandle* adapter) = 0;
    virtual int GetNICAdapterMAC(AdapterHandle* adapter, unsigned char mac[6]) = 0;
    virtual int QueryWL_ConnectState(AdapterHandle* adapter) = 0;
    virtual int QueryWL_NetworkType(AdapterHandle* adapter) = 0;
    virtual int QueryWL_Channel(AdapterHandle* adapter) = 0;
    virtual int QueryWL_CurrentLinkSpeed(AdapterHandle* adapter) = 0;
    virtual int QueryWL_RSSI(AdapterHandle* adapter) = 0;
    virtual int QueryWL_CommQuality(AdapterHandle* adapter) = 0;
    virtual int QueryWL_OperationRegionCode(AdapterHandle* adapter) = 0;
    virtual int QueryWL_SSID(AdapterHandle* adapter, char* buffer) = 0;
    virtual int QueryWL_BSSID(AdapterHandle* adapter, unsigned char bssid[6]) = 0;
    virtual int QueryWL_SupportChannel(AdapterHandle* adapter, unsigned char channels[14],
                                       int* count) = 0;
    virtual int SetWL_NetworkType(AdapterHandle* adapter, int networkType) = 0;
    virtual int SetWL_AuthenticationMode(AdapterHandle* adapter, int mode) = 0;
    virtual int SetWL_Channel(AdapterHandle* adapter, int channel) = 0;
    virtual int SetWL_WEPStatus(AdapterHandle* adapter, int status) = 0;
    virtual int SetWL_PreambleMode(AdapterHandle* adapter, int mode) = 0;
    virtual int SetWL_PSMode(AdapterHandle* adapter, int mode) = 0;
    virtual int SetWL_OperationRegionCode(AdapterHandle* adapter, int region) = 0;
    virtual int SetWL_RegionAndSupportChannel(AdapterHandle* adapter, int region) = 0;
    virtual int SetWL_SSID(AdapterHandle* adapter, const char* ssid, int length) = 0;
    virtual int SetWL_DesiredRate(AdapterHandle* adapter, const unsigned char rates[16]) = 0;
    virtual int SetWL_WriteKey(AdapterHandle* adapter, int index, int lengthCode, int isDefault,
                               const unsigned char* key) = 0;
    virtual int SetWL_BSSID(AdapterHandle* adapter, const unsigned char bssid[6]) = 0;
    virtual int SetWL_HXUseHXOidState(AdapterHandle* adapter, int useOwnOids) = 0;
    virtual int WL_SiteSurveyStart(AdapterHandle* adapter) = 0;
    virtual int WL_RetrieveSiteSurveyData(AdapterHandle* adapter, unsigned char* buffer,
                                          int size) = 0;
    virtual int WL_FilteSiteSurveyData(AdapterHandle* adapter, unsigned char* buffer) = 0;
    virtual int WriteOid(AdapterHandle* adapter, unsigned long oid, void* buffer, int length) = 0;
    virtual int QueryWL_CheckWZCStatus(AdapterHandle* adapter) = 0;
};

// The implementation over the library's exports (VuvavoApi.h). On Windows these are the
// imports of VUVAVO.dll; natively the simulator's export layer is linked in directly.
AdapterLibrary& ExportedAdapterLibrary();

}  // namespace hx
