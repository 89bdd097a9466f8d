// A supplicant library that passes every call on to another one (usually the real
// exports) and tells an observer about it first, by name.
#pragma once

#include <functional>

#include "auth/SupplicantLibrary.h"

namespace hx::test {

class ObservedSupplicantLibrary final : public SupplicantLibrary {
public:
    using Observer = std::function<void(const char* call)>;

    ObservedSupplicantLibrary(SupplicantLibrary& inner, Observer observer)
        : inner_(inner), observer_(std::move(observer)) {}

    int do_eapol_init(AdapterHandle* adapter, int reserved, const unsigned char ownMac[6],
                      const unsigned char bssid[6], EapConfigRecord* config) override {
        return Before("do_eapol_init").do_eapol_init(adapter, reserved, ownMac, bssid, config);
    }
    int do_eapol_run() override { return Before("do_eapol_run").do_eapol_run(); }
    int do_eapol_halt() override { return Before("do_eapol_halt").do_eapol_halt(); }
    int Get_EAP_Derived_Key_32byte(unsigned char key[32]) override {
        return Before("Get_EAP_Derived_Key_32byte").Get_EAP_Derived_Key_32byte(key);
    }
    int Get_PSK_Key_32byte(const char* passphrase, const char* ssid, int ssidLength, int iterations,
                           unsigned char* key, int keyLength) override {
        return Before("Get_PSK_Key_32byte").Get_PSK_Key_32byte(passphrase, ssid, ssidLength, iterations, key, keyLength);
    }
    int do_key_negotiation_init(AdapterHandle* adapter, KeyNegotiationRecord* record) override {
        return Before("do_key_negotiation_init").do_key_negotiation_init(adapter, record);
    }
    int do_key_negotiation_run(KeyNegotiationRecord* record) override {
        return Before("do_key_negotiation_run").do_key_negotiation_run(record);
    }
    int do_eapol_start(const unsigned char bssid[6], const unsigned char ownMac[6]) override {
        return Before("do_eapol_start").do_eapol_start(bssid, ownMac);
    }
    int Shutdown_Dot1x_Module() override { return Before("Shutdown_Dot1x_Module").Shutdown_Dot1x_Module(); }
    int genMyCertFile(const char* subject, const char* issuer) override {
        return Before("genMyCertFile").genMyCertFile(subject, issuer);
    }
    int genMySSLFile() override { return Before("genMySSLFile").genMySSLFile(); }
    int genROOTSSLFile() override { return Before("genROOTSSLFile").genROOTSSLFile(); }
    int genROOTCertFile(const char* subject, const char* issuer) override {
        return Before("genROOTCertFile").genROOTCertFile(subject, issuer);
    }

private:
    SupplicantLibrary& Before(const char* call) {
        if (observer_) observer_(call);
        return inner_;
    }

    SupplicantLibrary& inner_;
    Observer observer_;
};

}  // namespace hx::test
