#include "auth/Dot1xApi.h"
#include "auth/SupplicantLibrary.h"

namespace hx {
namespace {

class Exported final : public SupplicantLibrary {
public:
    int do_eapol_init(AdapterHandle* a, int r, const unsigned char m[6], const unsigned char b[6],
                      EapConfigRecord* c) override { return ::do_eapol_init(a, r, m, b, c); }
    int do_eapol_run() override { return ::do_eapol_run(); }
    int do_eapol_halt() override { return ::do_eapol_halt(); }
    int Get_EAP_Derived_Key_32byte(unsigned char k[32]) override { return ::Get_EAP_Derived_Key_32byte(k); }
    int Get_PSK_Key_32byte(const char* p, const char* s, int n, int it, unsigned char* k, int kl) override {
        return ::Get_PSK_Key_32byte(p, s, n, it, k, kl);
    }
    int do_key_negotiation_init(AdapterHandle* a, KeyNegotiationRecord* r) override { return ::do_key_negotiation_init(a, r); }
    int do_key_negotiation_run(KeyNegotiationRecord* r) override { return ::do_key_negotiation_run(r); }
    int do_eapol_start(const unsigned char b[6], const unsigned char m[6]) override { return ::do_eapol_start(b, m); }
    int Shutdown_Dot1x_Module() override { return ::Shutdown_Dot1x_Module(); }
    int genMyCertFile(const char* s, const char* i) override { return ::genMyCertFile(s, i); }
    int genMySSLFile() override { return ::genMySSLFile(); }
    int genROOTSSLFile() override { return ::genROOTSSLFile(); }
    int genROOTCertFile(const char* s, const char* i) override { return ::genROOTCertFile(s, i); }
};

}  // namespace

SupplicantLibrary& ExportedSupplicantLibrary() {
    static Exported library;
    return library;
}

}  // namespace hx
