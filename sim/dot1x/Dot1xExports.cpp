// The export layer of our dot1x_dll.dll stand-in.
// Until the supplicant is in place every call fails: EAP never succeeds, no key is
// derived, no certificate file is written.
#include <cstring>

#include "auth/Dot1xApi.h"

extern "C" {

int DOT1XAPI do_eapol_init(hx::AdapterHandle*, int, const unsigned char*, const unsigned char*,
                           hx::EapConfigRecord*) { return -1; }
int DOT1XAPI do_eapol_run(void) { return 0; }
int DOT1XAPI do_eapol_halt(void) { return 0; }
int DOT1XAPI Get_EAP_Derived_Key_32byte(unsigned char*) { return -1; }
int DOT1XAPI Get_PSK_Key_32byte(const char*, const char*, int, int, unsigned char*, int) { return -1; }
int DOT1XAPI do_key_negotiation_init(hx::AdapterHandle*, hx::KeyNegotiationRecord*) { return -1; }
int DOT1XAPI do_key_negotiation_run(hx::KeyNegotiationRecord*) { return -1; }
int DOT1XAPI do_eapol_start(const unsigned char*, const unsigned char*) { return -1; }
int DOT1XAPI Shutdown_Dot1x_Module(void) { return 0; }
int DOT1XAPI genMyCertFile(const char*, const char*) { return -1; }
int DOT1XAPI genMySSLFile(void) { return -1; }
int DOT1XAPI genROOTSSLFile(void) { return -1; }
int DOT1XAPI genROOTCertFile(const char*, const char*) { return -1; }

}  // extern "C"
