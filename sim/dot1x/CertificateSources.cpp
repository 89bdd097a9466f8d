#include "sim/dot1x/CertificateSources.h"

#include <cstring>
#include <vector>

#include "sim/SimulatorExports.h"

#if defined(_WIN32)
#include "sim/dot1x/win32/SystemCertificateStore.h"
#endif

namespace hxsup {
namespace {

class ScenarioCertificateSource final : public CertificateSource {
public:
    std::optional<StoredCertificate> Find(CertificateStore store, const std::string& subject,
                                          const std::string& issuer) override {
        HxSimCertificate found{};
        const char* storeName = store == CertificateStore::My ? "MY" : "ROOT";
        if (HxSimFindCertificate(storeName, subject.c_str(), issuer.c_str(), &found) != 0) return std::nullopt;
        StoredCertificate certificate;
        certificate.names.subject.assign(found.subject, strnlen(found.subject, sizeof found.subject));
        certificate.names.issuer.assign(found.issuer, strnlen(found.issuer, sizeof found.issuer));
        certificate.hasPrivateKey = found.hasPrivateKey != 0;
        certificate.exportable = found.exportable != 0;
        if (certificate.hasPrivateKey && certificate.exportable)
            certificate.privateKey.assign(found.key, found.key + sizeof found.key);
        return certificate;
    }
};

}  // namespace

std::unique_ptr<CertificateSource> MakeScenarioCertificateSource() {
    return std::make_unique<ScenarioCertificateSource>();
}

std::unique_ptr<CertificateSource> MakeCertificateSource() {
    std::vector<std::unique_ptr<CertificateSource>> sources;
    // The world's certificates first: its authentication server knows no others. A
    // certificate of the user's own stores with the same subject and issuer (one imported
    // there, its key often not exportable) would otherwise hide the world's, and EAP-TLS
    // could never succeed.
    sources.push_back(MakeScenarioCertificateSource());
#if defined(_WIN32)
    sources.push_back(MakeSystemCertificateStore());
#endif
    return std::make_unique<ChainedCertificateSource>(std::move(sources));
}

}  // namespace hxsup
