// The exports of the adapter's driver library, VUVAVO.dll, by their undecorated names.
// Every function that works on the adapter takes the adapter record first. Results follow
// the library's rule: 0 for success and -1 for failure, unless a function says otherwise.
#pragma once

#include "adapter/AdapterHandle.h"

#if defined(_WIN32)
#define HXAPI __stdcall
#else
#define HXAPI
#endif

// Exports are named by the libraries' .def files; nothing else marks them.
#define VUVAVO_API

extern "C" {

using hx::AdapterHandle;
using hx::AdapterListEntry;

// --- No adapter record ---------------------------------------------------------------
// Fills up to maxEntries entries; returns their number, 0 or less when there is none.
VUVAVO_API int HXAPI CreateNICAdapterList(AdapterListEntry* entries, int maxEntries);
// Nonzero on Windows 95/98/Me.
VUVAVO_API int HXAPI QueryWL_IsWindows95(void);
// Reads a string value under a HKEY_LOCAL_MACHINE sub-key; *size is the buffer size in,
// the bytes written out. 0 when read.
VUVAVO_API int HXAPI QueryHLMReg(const char* subKey, const char* valueName, char* buffer,
                                 unsigned long* size);
VUVAVO_API int HXAPI Query_FixWindisPnPBug(void);
VUVAVO_API int HXAPI HXStopWZCService(void);
VUVAVO_API int HXAPI HXStartWZCService(void);
// Two hexadecimal digits a byte, spaces skipped; writes count bytes (zero after the end
// of the text) and returns how many came from the text, or -1 for a null pointer.
VUVAVO_API int HXAPI HexStrToBin(const char* text, unsigned char* out, int count);
// Two upper-case hexadecimal digits a byte; with separated nonzero, one space after each
// byte but the last. out must hold 3 * count bytes. Returns the text length.
VUVAVO_API int HXAPI BinToHexStr(const unsigned char* bytes, char* out, int count, int separated);

// --- On the adapter record -----------------------------------------------------------
VUVAVO_API int HXAPI HxOpenAdapter(AdapterHandle* adapter);  // nonzero = opened
VUVAVO_API int HXAPI QueryWL_SupportedRate(AdapterHandle* adapter, unsigned char rates[16]);
VUVAVO_API int HXAPI QueryWL_DriverVersion(AdapterHandle* adapter);  // packed; -1 = failure
VUVAVO_API int HXAPI GetNICAdapterMAC(AdapterHandle* adapter, unsigned char mac[6]);
VUVAVO_API int HXAPI QueryWL_ConnectState(AdapterHandle* adapter);  // 0 = associated
VUVAVO_API int HXAPI QueryWL_NetworkType(AdapterHandle* adapter);
VUVAVO_API int HXAPI QueryWL_Channel(AdapterHandle* adapter);
VUVAVO_API int HXAPI QueryWL_CurrentLinkSpeed(AdapterHandle* adapter);  // kbit/s
VUVAVO_API int HXAPI QueryWL_RSSI(AdapterHandle* adapter);              // dBm
VUVAVO_API int HXAPI QueryWL_CommQuality(AdapterHandle* adapter);       // percent
VUVAVO_API int HXAPI QueryWL_OperationRegionCode(AdapterHandle* adapter);
// Writes the SSID (at most 32 bytes) into buffer; returns its length, -1 = failure.
VUVAVO_API int HXAPI QueryWL_SSID(AdapterHandle* adapter, char* buffer);
VUVAVO_API int HXAPI QueryWL_BSSID(AdapterHandle* adapter, unsigned char bssid[6]);
// *count is the capacity in (14) and the number of channels out.
VUVAVO_API int HXAPI QueryWL_SupportChannel(AdapterHandle* adapter, unsigned char channels[14],
                                            int* count);
VUVAVO_API int HXAPI SetWL_NetworkType(AdapterHandle* adapter, int networkType);
VUVAVO_API int HXAPI SetWL_AuthenticationMode(AdapterHandle* adapter, int mode);
VUVAVO_API int HXAPI SetWL_Channel(AdapterHandle* adapter, int channel);
VUVAVO_API int HXAPI SetWL_WEPStatus(AdapterHandle* adapter, int status);
VUVAVO_API int HXAPI SetWL_PreambleMode(AdapterHandle* adapter, int mode);
VUVAVO_API int HXAPI SetWL_PSMode(AdapterHandle* adapter, int mode);
VUVAVO_API int HXAPI SetWL_OperationRegionCode(AdapterHandle* adapter, int region);
VUVAVO_API int HXAPI SetWL_RegionAndSupportChannel(AdapterHandle* adapter, int region);
VUVAVO_API int HXAPI SetWL_SSID(AdapterHandle* adapter, const char* ssid, int length);
VUVAVO_API int HXAPI SetWL_DesiredRate(AdapterHandle* adapter, const unsigned char rates[16]);
// lengthCode 0, 1, 2 = 5, 13, 29 key bytes; -1 = failure.
VUVAVO_API int HXAPI SetWL_WriteKey(AdapterHandle* adapter, int index, int lengthCode,
                                    int isDefault, const unsigned char* key);
VUVAVO_API int HXAPI SetWL_BSSID(AdapterHandle* adapter, const unsigned char bssid[6]);
VUVAVO_API int HXAPI SetWL_HXUseHXOidState(AdapterHandle* adapter, int useOwnOids);
VUVAVO_API int HXAPI WL_SiteSurveyStart(AdapterHandle* adapter);
VUVAVO_API int HXAPI WL_RetrieveSiteSurveyData(AdapterHandle* adapter, unsigned char* buffer,
                                               int size);
VUVAVO_API int HXAPI WL_FilteSiteSurveyData(AdapterHandle* adapter, unsigned char* buffer);
VUVAVO_API int HXAPI WriteOid(AdapterHandle* adapter, unsigned long oid, void* buffer, int length);
VUVAVO_API int HXAPI QueryWL_CheckWZCStatus(AdapterHandle* adapter);  // 0, 1 or 2

}  // extern "C"

namespace hx {
constexpr int kSurveyBufferSize = 12004;
constexpr unsigned long kOidAddKey = 0xFF12FF1DUL;  // WriteOid request that installs a key record
}  // namespace hx
