// The exports of the supplicant library, dot1x_dll.dll, by their undecorated names.
#pragma once

#include "adapter/AdapterHandle.h"
#include "auth/SupplicantRecords.h"

#if defined(_WIN32)
#define DOT1XAPI __stdcall
#else
#define DOT1XAPI
#endif

// Exports are named by the libraries' .def files; nothing else marks them.
#define DOT1X_API

extern "C" {

DOT1X_API int DOT1XAPI do_eapol_init(hx::AdapterHandle* adapter, int reserved,
                                     const unsigned char ownMac[6], const unsigned char bssid[6],
                                     hx::EapConfigRecord* config);
DOT1X_API int DOT1XAPI do_eapol_run(void);   // nonzero = EAP succeeded
DOT1X_API int DOT1XAPI do_eapol_halt(void);
DOT1X_API int DOT1XAPI Get_EAP_Derived_Key_32byte(unsigned char key[32]);
DOT1X_API int DOT1XAPI Get_PSK_Key_32byte(const char* passphrase, const char* ssid, int ssidLength,
                                          int iterations, unsigned char* key, int keyLength);
DOT1X_API int DOT1XAPI do_key_negotiation_init(hx::AdapterHandle* adapter,
                                               hx::KeyNegotiationRecord* record);
DOT1X_API int DOT1XAPI do_key_negotiation_run(hx::KeyNegotiationRecord* record);
DOT1X_API int DOT1XAPI do_eapol_start(const unsigned char bssid[6], const unsigned char ownMac[6]);
DOT1X_API int DOT1XAPI Shutdown_Dot1x_Module(void);
DOT1X_API int DOT1XAPI genMyCertFile(const char* subject, const char* issuer);
DOT1X_API int DOT1XAPI genMySSLFile(void);
DOT1X_API int DOT1XAPI genROOTSSLFile(void);
DOT1X_API int DOT1XAPI genROOTCertFile(const char* subject, const char* issuer);

}  // extern "C"
