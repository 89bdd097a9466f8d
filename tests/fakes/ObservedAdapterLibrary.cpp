#include "tests/fakes/ObservedAdapterLibrary.h"

namespace hx::test {

using L = ObservedAdapterLibrary;

int L::CreateNICAdapterList(AdapterListEntry* e, int n) { return Before("CreateNICAdapterList").CreateNICAdapterList(e, n); }
int L::QueryWL_IsWindows95() { return Before("QueryWL_IsWindows95").QueryWL_IsWindows95(); }
int L::QueryHLMReg(const char* k, const char* v, char* b, unsigned long* s) { return Before("QueryHLMReg").QueryHLMReg(k, v, b, s); }
int L::Query_FixWindisPnPBug() { return Before("Query_FixWindisPnPBug").Query_FixWindisPnPBug(); }
int L::HXStopWZCService() { return Before("HXStopWZCService").HXStopWZCService(); }
int L::HXStartWZCService() { return Before("HXStartWZCService").HXStartWZCService(); }
int L::HexStrToBin(const char* t, unsigned char* o, int c) { return Before("HexStrToBin").HexStrToBin(t, o, c); }
int L::BinToHexStr(const unsigned char* b, char* o, int c, int s) { return Before("BinToHexStr").BinToHexStr(b, o, c, s); }
int L::HxOpenAdapter(AdapterHandle* a) { return Before("HxOpenAdapter").HxOpenAdapter(a); }
int L::QueryWL_SupportedRate(AdapterHandle* a, unsigned char r[16]) { return Before("QueryWL_SupportedRate").QueryWL_SupportedRate(a, r); }
int L::QueryWL_DriverVersion(AdapterHandle* a) { return Before("QueryWL_DriverVersion").QueryWL_DriverVersion(a); }
int L::GetNICAdapterMAC(AdapterHandle* a, unsigned char m[6]) { return Before("GetNICAdapterMAC").GetNICAdapterMAC(a, m); }
int L::QueryWL_ConnectState(AdapterHandle* a) { return Before("QueryWL_ConnectState").QueryWL_ConnectState(a); }
int L::QueryWL_NetworkType(AdapterHandle* a) { return Before("QueryWL_NetworkType").QueryWL_NetworkType(a); }
int L::QueryWL_Channel(AdapterHandle* a) { return Before("QueryWL_Channel").QueryWL_Channel(a); }
int L::QueryWL_CurrentLinkSpeed(AdapterHandle* a) { return Before("QueryWL_CurrentLinkSpeed").QueryWL_CurrentLinkSpeed(a); }
int L::QueryWL_RSSI(AdapterHandle* a) { return Before("QueryWL_RSSI").QueryWL_RSSI(a); }
int L::QueryWL_CommQuality(AdapterHandle* a) { return Before("QueryWL_CommQuality").QueryWL_CommQuality(a); }
int L::QueryWL_OperationRegionCode(AdapterHandle* a) { return Before("QueryWL_OperationRegionCode").QueryWL_OperationRegionCode(a); }
int L::QueryWL_SSID(AdapterHandle* a, char* b) { return Before("QueryWL_SSID").QueryWL_SSID(a, b); }
int L::QueryWL_BSSID(AdapterHandle* a, unsigned char b[6]) { return Before("QueryWL_BSSID").QueryWL_BSSID(a, b); }
int L::QueryWL_SupportChannel(AdapterHandle* a, unsigned char c[14], int* n) { return Before("QueryWL_SupportChannel").QueryWL_SupportChannel(a, c, n); }
int L::SetWL_NetworkType(AdapterHandle* a, int v) { return Before("SetWL_NetworkType").SetWL_NetworkType(a, v); }
int L::SetWL_AuthenticationMode(AdapterHandle* a, int v) { return Before("SetWL_AuthenticationMode").SetWL_AuthenticationMode(a, v); }
int L::SetWL_Channel(AdapterHandle* a, int v) { return Before("SetWL_Channel").SetWL_Channel(a, v); }
int L::SetWL_WEPStatus(AdapterHandle* a, int v) { return Before("SetWL_WEPStatus").SetWL_WEPStatus(a, v); }
int L::SetWL_PreambleMode(AdapterHandle* a, int v) { return Before("SetWL_PreambleMode").SetWL_PreambleMode(a, v); }
int L::SetWL_PSMode(AdapterHandle* a, int v) { return Before("SetWL_PSMode").SetWL_PSMode(a, v); }
int L::SetWL_OperationRegionCode(AdapterHandle* a, int v) { return Before("SetWL_OperationRegionCode").SetWL_OperationRegionCode(a, v); }
int L::SetWL_RegionAndSupportChannel(AdapterHandle* a, int v) { return Before("SetWL_RegionAndSupportChannel").SetWL_RegionAndSupportChannel(a, v); }
int L::SetWL_SSID(AdapterHandle* a, const char* s, int n) { return Before("SetWL_SSID").SetWL_SSID(a, s, n); }
int L::SetWL_DesiredRate(AdapterHandle* a, const unsigned char r[16]) { return Before("SetWL_DesiredRate").SetWL_DesiredRate(a, r); }
int L::SetWL_WriteKey(AdapterHandle* a, int i, int l, int d, const unsigned char* k) { return Before("SetWL_WriteKey").SetWL_WriteKey(a, i, l, d, k); }
int L::SetWL_BSSID(AdapterHandle* a, const unsigned char b[6]) { return Before("SetWL_BSSID").SetWL_BSSID(a, b); }
int L::SetWL_HXUseHXOidState(AdapterHandle* a, int v) { return Before("SetWL_HXUseHXOidState").SetWL_HXUseHXOidState(a, v); }
int L::WL_SiteSurveyStart(AdapterHandle* a) { return Before("WL_SiteSurveyStart").WL_SiteSurveyStart(a); }
int L::WL_RetrieveSiteSurveyData(AdapterHandle* a, unsigned char* b, int n) { return Before("WL_RetrieveSiteSurveyData").WL_RetrieveSiteSurveyData(a, b, n); }
int L::WL_FilteSiteSurveyData(AdapterHandle* a, unsigned char* b) { return Before("WL_FilteSiteSurveyData").WL_FilteSiteSurveyData(a, b); }
int L::WriteOid(AdapterHandle* a, unsigned long o, void* b, int n) { return Before("WriteOid").WriteOid(a, o, b, n); }
int L::QueryWL_CheckWZCStatus(AdapterHandle* a) { return Before("QueryWL_CheckWZCStatus").QueryWL_CheckWZCStatus(a); }

}  // namespace hx::test
