#include "adapter/AdapterLibrary.h"
#include "adapter/VuvavoApi.h"

namespace hx {
namespace {

class Exported final : public AdapterLibrary {
public:
    int CreateNICAdapterList(AdapterListEntry* e, int n) override { return ::CreateNICAdapterList(e, n); }
    int QueryWL_IsWindows95() override { return ::QueryWL_IsWindows95(); }
    int QueryHLMReg(const char* k, const char* v, char* b, unsigned long* s) override { return ::QueryHLMReg(k, v, b, s); }
    int Query_FixWindisPnPBug() override { return ::Query_FixWindisPnPBug(); }
    int HXStopWZCService() override { return ::HXStopWZCService(); }
    int HXStartWZCService() override { return ::HXStartWZCService(); }
    int HexStrToBin(const char* t, unsigned char* o, int c) override { return ::HexStrToBin(t, o, c); }
    int BinToHexStr(const unsigned char* b, char* o, int c, int s) override { return ::BinToHexStr(b, o, c, s); }
    int HxOpenAdapter(AdapterHandle* a) override { return ::HxOpenAdapter(a); }
    int QueryWL_SupportedRate(AdapterHandle* a, unsigned char r[16]) override { return ::QueryWL_SupportedRate(a, r); }
    int QueryWL_DriverVersion(AdapterHandle* a) override { return ::QueryWL_DriverVersion(a); }
    int GetNICAdapterMAC(AdapterHandle* a, unsigned char m[6]) override { return ::GetNICAdapterMAC(a, m); }
    int QueryWL_ConnectState(AdapterHandle* a) override { return ::QueryWL_ConnectState(a); }
    int QueryWL_NetworkType(AdapterHandle* a) override { return ::QueryWL_NetworkType(a); }
    int QueryWL_Channel(AdapterHandle* a) override { return ::QueryWL_Channel(a); }
    int QueryWL_CurrentLinkSpeed(AdapterHandle* a) override { return ::QueryWL_CurrentLinkSpeed(a); }
    int QueryWL_RSSI(AdapterHandle* a) override { return ::QueryWL_RSSI(a); }
    int QueryWL_CommQuality(AdapterHandle* a) override { return ::QueryWL_CommQuality(a); }
    int QueryWL_OperationRegionCode(AdapterHandle* a) override { return ::QueryWL_OperationRegionCode(a); }
    int QueryWL_SSID(AdapterHandle* a, char* b) override { return ::QueryWL_SSID(a, b); }
    int QueryWL_BSSID(AdapterHandle* a, unsigned char b[6]) override { return ::QueryWL_BSSID(a, b); }
    int QueryWL_SupportChannel(AdapterHandle* a, unsigned char c[14], int* n) override { return ::QueryWL_SupportChannel(a, c, n); }
    int SetWL_NetworkType(AdapterHandle* a, int v) override { return ::SetWL_NetworkType(a, v); }
    int SetWL_AuthenticationMode(AdapterHandle* a, int v) override { return ::SetWL_AuthenticationMode(a, v); }
    int SetWL_Channel(AdapterHandle* a, int v) override { return ::SetWL_Channel(a, v); }
    int SetWL_WEPStatus(AdapterHandle* a, int v) override { return ::SetWL_WEPStatus(a, v); }
    int SetWL_PreambleMode(AdapterHandle* a, int v) override { return ::SetWL_PreambleMode(a, v); }
    int SetWL_PSMode(AdapterHandle* a, int v) override { return ::SetWL_PSMode(a, v); }
    int SetWL_OperationRegionCode(AdapterHandle* a, int v) override { return ::SetWL_OperationRegionCode(a, v); }
    int SetWL_RegionAndSupportChannel(AdapterHandle* a, int v) override { return ::SetWL_RegionAndSupportChannel(a, v); }
    int SetWL_SSID(AdapterHandle* a, const char* s, int n) override { return ::SetWL_SSID(a, s, n); }
    int SetWL_DesiredRate(AdapterHandle* a, const unsigned char r[16]) override { return ::SetWL_DesiredRate(a, r); }
    int SetWL_WriteKey(AdapterHandle* a, int i, int l, int d, const unsigned char* k) override { return ::SetWL_WriteKey(a, i, l, d, k); }
    int SetWL_BSSID(AdapterHandle* a, const unsigned char b[6]) override { return ::SetWL_BSSID(a, b); }
    int SetWL_HXUseHXOidState(AdapterHandle* a, int v) override { return ::SetWL_HXUseHXOidState(a, v); }
    int WL_SiteSurveyStart(AdapterHandle* a) override { return ::WL_SiteSurveyStart(a); }
    int WL_RetrieveSiteSurveyData(AdapterHandle* a, unsigned char* b, int n) override { return ::WL_RetrieveSiteSurveyData(a, b, n); }
    int WL_FilteSiteSurveyData(AdapterHandle* a, unsigned char* b) override { return ::WL_FilteSiteSurveyData(a, b); }
    int WriteOid(AdapterHandle* a, unsigned long o, void* b, int n) override { return ::WriteOid(a, o, b, n); }
    int QueryWL_CheckWZCStatus(AdapterHandle* a) override { return ::QueryWL_CheckWZCStatus(a); }
};

}  // namespace

AdapterLibrary& ExportedAdapterLibrary() {
    static Exported library;
    return library;
}

}  // namespace hx
