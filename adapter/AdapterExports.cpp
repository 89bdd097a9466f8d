#include "adapter/AdapterExports.h"

namespace hx {
namespace {

// A missing export fails as the library's own calls do.
template <typename Function, typename... Args>
int Call(Function function, Args... args) {
    return function != nullptr ? function(args...) : -1;
}

class OverExports final : public AdapterLibrary {
public:
    explicit OverExports(const AdapterExports& exports) : own_(exports.Complete() ? exports : AdapterExports{}), x_(own_) {}
    explicit OverExports(const AdapterExports* table) : x_(*table) {}

    int CreateNICAdapterList(AdapterListEntry* e, int n) override { return Call(x_.CreateNICAdapterList, e, n); }
    int QueryWL_IsWindows95() override { return Call(x_.QueryWL_IsWindows95); }
    int QueryHLMReg(const char* k, const char* v, char* b, unsigned long* s) override { return Call(x_.QueryHLMReg, k, v, b, s); }
    int Query_FixWindisPnPBug() override { return Call(x_.Query_FixWindisPnPBug); }
    int HXStopWZCService() override { return Call(x_.HXStopWZCService); }
    int HXStartWZCService() override { return Call(x_.HXStartWZCService); }
    int HexStrToBin(const char* t, unsigned char* o, int c) override { return Call(x_.HexStrToBin, t, o, c); }
    int BinToHexStr(const unsigned char* b, char* o, int c, int s) override {
        if (x_.BinToHexStr == nullptr && o != nullptr) *o = '\0';
        return Call(x_.BinToHexStr, b, o, c, s);
    }
    int HxOpenAdapter(AdapterHandle* a) override { return Call(x_.HxOpenAdapter, a); }
    int QueryWL_SupportedRate(AdapterHandle* a, unsigned char r[16]) override { return Call(x_.QueryWL_SupportedRate, a, r); }
    int QueryWL_DriverVersion(AdapterHandle* a) override { return Call(x_.QueryWL_DriverVersion, a); }
    int GetNICAdapterMAC(AdapterHandle* a, unsigned char m[6]) override { return Call(x_.GetNICAdapterMAC, a, m); }
    int QueryWL_ConnectState(AdapterHandle* a) override { return Call(x_.QueryWL_ConnectState, a); }
    int QueryWL_NetworkType(AdapterHandle* a) override { return Call(x_.QueryWL_NetworkType, a); }
    int QueryWL_Channel(AdapterHandle* a) override { return Call(x_.QueryWL_Channel, a); }
    int QueryWL_CurrentLinkSpeed(AdapterHandle* a) override { return Call(x_.QueryWL_CurrentLinkSpeed, a); }
    int QueryWL_RSSI(AdapterHandle* a) override { return Call(x_.QueryWL_RSSI, a); }
    int QueryWL_CommQuality(AdapterHandle* a) override { return Call(x_.QueryWL_CommQuality, a); }
    int QueryWL_OperationRegionCode(AdapterHandle* a) override { return Call(x_.QueryWL_OperationRegionCode, a); }
    int QueryWL_SSID(AdapterHandle* a, char* b) override { return Call(x_.QueryWL_SSID, a, b); }
    int QueryWL_BSSID(AdapterHandle* a, unsigned char b[6]) override { return Call(x_.QueryWL_BSSID, a, b); }
    int QueryWL_SupportChannel(AdapterHandle* a, unsigned char c[14], int* n) override { return Call(x_.QueryWL_SupportChannel, a, c, n); }
    int SetWL_NetworkType(AdapterHandle* a, int v) override { return Call(x_.SetWL_NetworkType, a, v); }
    int SetWL_AuthenticationMode(AdapterHandle* a, int v) override { return Call(x_.SetWL_AuthenticationMode, a, v); }
    int SetWL_Channel(AdapterHandle* a, int v) override { return Call(x_.SetWL_Channel, a, v); }
    int SetWL_WEPStatus(AdapterHandle* a, int v) override { return Call(x_.SetWL_WEPStatus, a, v); }
    int SetWL_PreambleMode(AdapterHandle* a, int v) override { return Call(x_.SetWL_PreambleMode, a, v); }
    int SetWL_PSMode(AdapterHandle* a, int v) override { return Call(x_.SetWL_PSMode, a, v); }
    int SetWL_OperationRegionCode(AdapterHandle* a, int v) override { return Call(x_.SetWL_OperationRegionCode, a, v); }
    int SetWL_RegionAndSupportChannel(AdapterHandle* a, int v) override { return Call(x_.SetWL_RegionAndSupportChannel, a, v); }
    int SetWL_SSID(AdapterHandle* a, const char* s, int n) override { return Call(x_.SetWL_SSID, a, s, n); }
    int SetWL_DesiredRate(AdapterHandle* a, const unsigned char r[16]) override { return Call(x_.SetWL_DesiredRate, a, r); }
    int SetWL_WriteKey(AdapterHandle* a, int i, int l, int d, const unsigned char* k) override { return Call(x_.SetWL_WriteKey, a, i, l, d, k); }
    int SetWL_BSSID(AdapterHandle* a, const unsigned char b[6]) override { return Call(x_.SetWL_BSSID, a, b); }
    int SetWL_HXUseHXOidState(AdapterHandle* a, int v) override { return Call(x_.SetWL_HXUseHXOidState, a, v); }
    int WL_SiteSurveyStart(AdapterHandle* a) override { return Call(x_.WL_SiteSurveyStart, a); }
    int WL_RetrieveSiteSurveyData(AdapterHandle* a, unsigned char* b, int n) override { return Call(x_.WL_RetrieveSiteSurveyData, a, b, n); }
    int WL_FilteSiteSurveyData(AdapterHandle* a, unsigned char* b) override { return Call(x_.WL_FilteSiteSurveyData, a, b); }
    int WriteOid(AdapterHandle* a, unsigned long o, void* b, int n) override { return Call(x_.WriteOid, a, o, b, n); }
    int QueryWL_CheckWZCStatus(AdapterHandle* a) override { return Call(x_.QueryWL_CheckWZCStatus, a); }

private:
    const AdapterExports own_{};
    const AdapterExports& x_;   // this one's own copy, or the table its owner fills
};

}  // namespace

bool AdapterExports::Complete() const {
#define HX_ADAPTER_EXPORT_SET(name) &&name != nullptr
    return true HX_ADAPTER_EXPORTS(HX_ADAPTER_EXPORT_SET);
#undef HX_ADAPTER_EXPORT_SET
}

std::unique_ptr<AdapterLibrary> AdapterLibraryOver(const AdapterExports& exports) {
    return std::make_unique<OverExports>(exports);
}

std::unique_ptr<AdapterLibrary> AdapterLibraryOverTable(const AdapterExports& table) {
    return std::make_unique<OverExports>(&table);
}

}  // namespace hx
