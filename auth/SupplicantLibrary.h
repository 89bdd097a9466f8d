// The seam to the supplicant library: one method per export, same names and arguments.
#pragma once

#include "adapter/AdapterHandle.h"
#include "auth/SupplicantRecords.h"

namespace hx {

class SupplicantLibrary {
public:
    virtual ~SupplicantLibrary() = default;

    virtual int do_eapol_init(AdapterHandle* adapter, int reserved, const unsigned char ownMac[6],
                              const unsigned char bssid[6], EapConfigRecord* config) = 0;
    virtual int do_eapol_run() = 0;
    virtual int do_eapol_halt() = 0;
    virtual int Get_EAP_Derived_Key_32byte(unsigned char key[32]) = 0;
    virtual int Get_PSK_Key_32byte(const char* passphrase, const char* ssid, int ssidLength,
                                   int iterations, unsigned char* key, int keyLength) = 0;
    virtual int do_key_negotiation_init(AdapterHandle* adapter, KeyNegotiationRecord* record) = 0;
    virtual int do_key_negotiation_run(KeyNegotiationRecord* record) = 0;
    virtual int do_eapol_start(const unsigned char bssid[6], const unsigned char ownMac[6]) = 0;
    virtual int Shutdown_Dot1x_Module() = 0;
    virtual int genMyCertFile(const char* subject, const char* issuer) = 0;
    virtual int genMySSLFile() = 0;
    virtual int genROOTSSLFile() = 0;
    virtual int genROOTCertFile(const char* subject, const char* issuer) = 0;
};

// The implementation over the library's exports (Dot1xApi.h): the imports of dot1x_dll.dll
// on Windows, our supplicant's export layer linked in directly natively.
SupplicantLibrary& ExportedSupplicantLibrary();

}  // namespace hx
