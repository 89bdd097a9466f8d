// The export layer of our VUVAVO.dll stand-in.
// Until the simulated adapter is in place every adapter call answers with the library's
// failure value: no adapter is listed, nothing opens, every query and setter fails.
#include "adapter/VuvavoApi.h"
#include "sim/core/HexCodec.h"

extern "C" {

int HXAPI CreateNICAdapterList(AdapterListEntry*, int) { return 0; }
int HXAPI QueryWL_IsWindows95(void) { return 0; }
int HXAPI QueryHLMReg(const char*, const char*, char*, unsigned long*) { return -1; }
int HXAPI Query_FixWindisPnPBug(void) { return 0; }
int HXAPI HXStopWZCService(void) { return 0; }
int HXAPI HXStartWZCService(void) { return 0; }
int HXAPI HexStrToBin(const char* text, unsigned char* out, int count) {
    return hxsim::HexTextToBytes(text, out, count);
}
int HXAPI BinToHexStr(const unsigned char* bytes, char* out, int count, int separated) {
    return hxsim::BytesToHexText(bytes, out, count, separated != 0);
}
int HXAPI HxOpenAdapter(AdapterHandle*) { return 0; }
int HXAPI QueryWL_SupportedRate(AdapterHandle*, unsigned char*) { return -1; }
int HXAPI QueryWL_DriverVersion(AdapterHandle*) { return -1; }
int HXAPI GetNICAdapterMAC(AdapterHandle*, unsigned char*) { return -1; }
int HXAPI QueryWL_ConnectState(AdapterHandle*) { return -1; }
int HXAPI QueryWL_NetworkType(AdapterHandle*) { return -1; }
int HXAPI QueryWL_Channel(AdapterHandle*) { return -1; }
int HXAPI QueryWL_CurrentLinkSpeed(AdapterHandle*) { return -1; }
int HXAPI QueryWL_RSSI(AdapterHandle*) { return -1; }
int HXAPI QueryWL_CommQuality(AdapterHandle*) { return -1; }
int HXAPI QueryWL_OperationRegionCode(AdapterHandle*) { return -1; }
int HXAPI QueryWL_SSID(AdapterHandle*, char*) { return -1; }
int HXAPI QueryWL_BSSID(AdapterHandle*, unsigned char*) { return -1; }
int HXAPI QueryWL_SupportChannel(AdapterHandle*, unsigned char*, int*) { return -1; }
int HXAPI SetWL_NetworkType(AdapterHandle*, int) { return -1; }
int HXAPI SetWL_AuthenticationMode(AdapterHandle*, int) { return -1; }
int HXAPI SetWL_Channel(AdapterHandle*, int) { return -1; }
int HXAPI SetWL_WEPStatus(AdapterHandle*, int) { return -1; }
int HXAPI SetWL_PreambleMode(AdapterHandle*, int) { return -1; }
int HXAPI SetWL_PSMode(AdapterHandle*, int) { return -1; }
int HXAPI SetWL_OperationRegionCode(AdapterHandle*, int) { return -1; }
int HXAPI SetWL_RegionAndSupportChannel(AdapterHandle*, int) { return -1; }
int HXAPI SetWL_SSID(AdapterHandle*, const char*, int) { return -1; }
int HXAPI SetWL_DesiredRate(AdapterHandle*, const unsigned char*) { return -1; }
int HXAPI SetWL_WriteKey(AdapterHandle*, int, int, int, const unsigned char*) { return -1; }
int HXAPI SetWL_BSSID(AdapterHandle*, const unsigned char*) { return -1; }
int HXAPI SetWL_HXUseHXOidState(AdapterHandle*, int) { return -1; }
int HXAPI WL_SiteSurveyStart(AdapterHandle*) { return -1; }
int HXAPI WL_RetrieveSiteSurveyData(AdapterHandle*, unsigned char*, int) { return -1; }
int HXAPI WL_FilteSiteSurveyData(AdapterHandle*, unsigned char*) { return -1; }
int HXAPI WriteOid(AdapterHandle*, unsigned long, void*, int) { return -1; }
int HXAPI QueryWL_CheckWZCStatus(AdapterHandle*) { return -1; }

}  // extern "C"

#include "sim/EapolTransport.h"

extern "C" {
int HXAPI HxSimSendEapol(AdapterHandle*, const unsigned char*, int) { return -1; }
int HXAPI HxSimReceiveEapol(AdapterHandle*, unsigned char*, int, int) { return -1; }
}
