// The export layer of our dot1x_dll.dll stand-in: argument checks, one lock, and the
// supplicant core behind it.
#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "auth/Dot1xApi.h"
#include "sim/dot1x/AdapterEapolPort.h"
#include "sim/dot1x/CertificateSources.h"
#include "sim/dot1x/core/EapConfig.h"
#include "sim/dot1x/core/KeyRecord.h"
#include "sim/dot1x/core/PassphraseKey.h"
#include "sim/dot1x/core/Supplicant.h"

namespace {

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

hxsup::Supplicant& Module() {
    static hxsup::Supplicant supplicant;
    return supplicant;
}

hxsup::MacAddress ToMac(const unsigned char* bytes) {
    hxsup::MacAddress mac{};
    std::copy_n(bytes, mac.size(), mac.begin());
    return mac;
}

// The certificate and key files lie in the current directory, which the worker has made
// the program's own.
const std::filesystem::path kFileFolder;

}  // namespace

extern "C" {

int DOT1XAPI do_eapol_init(hx::AdapterHandle* adapter, int, const unsigned char* ownMac, const unsigned char* bssid,
                           hx::EapConfigRecord* config) {
    if (!adapter || !ownMac || !bssid || !config) return -1;
    std::lock_guard guard(Lock());
    return Module().InitEap(hxsup::MakeAdapterEapolPort(adapter), ToMac(bssid), hxsup::SettingsFromConfig(*config),
                            hxsup::LoadCredentials(*config, kFileFolder))
               ? 0
               : -1;
}

int DOT1XAPI do_eapol_run(void) {
    std::lock_guard guard(Lock());
    return Module().RunEapStep() ? 1 : 0;
}

int DOT1XAPI do_eapol_halt(void) {
    std::lock_guard guard(Lock());
    Module().HaltEap();
    return 0;
}

int DOT1XAPI Get_EAP_Derived_Key_32byte(unsigned char* key) {
    if (!key) return -1;
    std::lock_guard guard(Lock());
    const auto masterKey = Module().EapMasterKey();
    if (!masterKey) return -1;
    std::copy(masterKey->begin(), masterKey->end(), key);
    return 0;
}

int DOT1XAPI Get_PSK_Key_32byte(const char* passphrase, const char* ssid, int ssidLength, int iterations,
                                unsigned char* key, int keyLength) {
    return hxsup::DerivePassphraseKey(passphrase, ssid, ssidLength, iterations, key, keyLength);
}

int DOT1XAPI do_key_negotiation_init(hx::AdapterHandle* adapter, hx::KeyNegotiationRecord* record) {
    if (!adapter || !record) return -1;
    hxsup::NegotiationSettings settings = hxsup::SettingsFromRecord(*record);
    settings.stationElement = hxsup::AdapterAssociationElement(adapter);
    std::lock_guard guard(Lock());
    return Module().InitKeyNegotiation(hxsup::MakeAdapterEapolPort(adapter), std::move(settings)) ? 0 : -1;
}

int DOT1XAPI do_key_negotiation_run(hx::KeyNegotiationRecord* record) {
    std::lock_guard guard(Lock());
    if (!record || !Module().Handshake()) {
        // The worker steps back to back: even a refused step takes its time.
        std::this_thread::sleep_for(std::chrono::milliseconds(hxsup::kStepWaitMs));
        return -1;
    }
    Module().RunKeyNegotiationStep(
        [record](const hxsup::NegotiatedKey& key) { hxsup::InstallThroughRecord(*record, key); });
    return 0;
}

int DOT1XAPI do_eapol_start(const unsigned char* bssid, const unsigned char* ownMac) {
    if (!bssid || !ownMac) return -1;
    std::lock_guard guard(Lock());
    return Module().StartEapol(ToMac(bssid)) ? 0 : -1;
}

int DOT1XAPI Shutdown_Dot1x_Module(void) {
    std::lock_guard guard(Lock());
    Module().Shutdown();
    return 0;
}

int DOT1XAPI genMyCertFile(const char* subject, const char* issuer) {
    return hxsup::ExportClientCertificate(*hxsup::MakeCertificateSource(), subject, issuer, kFileFolder);
}

int DOT1XAPI genMySSLFile(void) { return hxsup::PrepareClientTlsFiles(kFileFolder); }

int DOT1XAPI genROOTSSLFile(void) { return hxsup::PrepareRootTlsFiles(kFileFolder); }

int DOT1XAPI genROOTCertFile(const char* subject, const char* issuer) {
    return hxsup::ExportRootCertificate(*hxsup::MakeCertificateSource(), subject, issuer, kFileFolder);
}

}  // extern "C"
