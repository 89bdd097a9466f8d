#include "auth/SupplicantExports.h"

namespace hx {
namespace {

template <typename Function, typename... Args>
int Call(Function function, int failed, Args... args) {
    return function != nullptr ? function(args...) : failed;
}

class OverExports final : public SupplicantLibrary {
public:
    explicit OverExports(const SupplicantExports& exports)
        : own_(exports.Complete() ? exports : SupplicantExports{}), x_(own_) {}
    explicit OverExports(const SupplicantExports* table) : x_(*table) {}

    int do_eapol_init(AdapterHandle* a, int r, const unsigned char m[6], const unsigned char b[6],
                      EapConfigRecord* c) override { return Call(x_.do_eapol_init, -1, a, r, m, b, c); }
    int do_eapol_run() override { return Call(x_.do_eapol_run, 0); }   // nonzero would mean success
    int do_eapol_halt() override { return Call(x_.do_eapol_halt, -1); }
    int Get_EAP_Derived_Key_32byte(unsigned char k[32]) override { return Call(x_.Get_EAP_Derived_Key_32byte, -1, k); }
    int Get_PSK_Key_32byte(const char* p, const char* s, int n, int it, unsigned char* k, int kl) override {
        return Call(x_.Get_PSK_Key_32byte, -1, p, s, n, it, k, kl);
    }
    int do_key_negotiation_init(AdapterHandle* a, KeyNegotiationRecord* r) override { return Call(x_.do_key_negotiation_init, -1, a, r); }
    int do_key_negotiation_run(KeyNegotiationRecord* r) override { return Call(x_.do_key_negotiation_run, -1, r); }
    int do_eapol_start(const unsigned char b[6], const unsigned char m[6]) override { return Call(x_.do_eapol_start, -1, b, m); }
    int Shutdown_Dot1x_Module() override { return Call(x_.Shutdown_Dot1x_Module, -1); }
    int genMyCertFile(const char* s, const char* i) override { return Call(x_.genMyCertFile, -1, s, i); }
    int genMySSLFile() override { return Call(x_.genMySSLFile, -1); }
    int genROOTSSLFile() override { return Call(x_.genROOTSSLFile, -1); }
    int genROOTCertFile(const char* s, const char* i) override { return Call(x_.genROOTCertFile, -1, s, i); }

private:
    const SupplicantExports own_{};
    const SupplicantExports& x_;   // this one's own copy, or the table its owner fills
};

}  // namespace

bool SupplicantExports::Complete() const {
#define HX_SUPPLICANT_EXPORT_SET(name) &&name != nullptr
    return true HX_SUPPLICANT_EXPORTS(HX_SUPPLICANT_EXPORT_SET);
#undef HX_SUPPLICANT_EXPORT_SET
}

std::unique_ptr<SupplicantLibrary> SupplicantLibraryOver(const SupplicantExports& exports) {
    return std::make_unique<OverExports>(exports);
}

std::unique_ptr<SupplicantLibrary> SupplicantLibraryOverTable(const SupplicantExports& table) {
    return std::make_unique<OverExports>(&table);
}

}  // namespace hx
