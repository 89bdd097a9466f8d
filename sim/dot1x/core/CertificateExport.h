// Writing the certificate files of the EAP methods from a certificate store: the client
// certificate with its private key for EAP-TLS, the root certificate for PEAP, and the
// random seed beside them.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/dot1x/core/CredentialFiles.h"

namespace hxsup {

enum class CertificateStore { My, Root };

struct StoredCertificate {
    CertificateNames names;
    std::vector<uint8_t> der;         // empty for a certificate of the simulated world
    bool hasPrivateKey = false;
    bool exportable = false;
    std::vector<uint8_t> privateKey;  // filled only when it has one and it is exportable
};

class CertificateSource {
public:
    virtual ~CertificateSource() = default;
    // The certificate with exactly this subject and issuer, or nullopt.
    virtual std::optional<StoredCertificate> Find(CertificateStore store, const std::string& subject,
                                                  const std::string& issuer) = 0;
};

// Asks each source in turn; the first that has the certificate answers.
class ChainedCertificateSource final : public CertificateSource {
public:
    explicit ChainedCertificateSource(std::vector<std::unique_ptr<CertificateSource>> sources)
        : sources_(std::move(sources)) {}
    std::optional<StoredCertificate> Find(CertificateStore store, const std::string& subject,
                                          const std::string& issuer) override;

private:
    std::vector<std::unique_ptr<CertificateSource>> sources_;
};

// genMyCertFile: writes the client certificate and its private key (under the fixed pass
// phrase) into folder. 0 when both were written; 1 when the certificate is not in the
// "MY" store, has no private key or its key may not be exported (nothing is written);
// -1 for null texts or a file that could not be written.
int ExportClientCertificate(CertificateSource& source, const char* subject, const char* issuer,
                            const std::filesystem::path& folder);
// genROOTCertFile: writes the root certificate. 0 when written; 1 when it is not in the
// "ROOT" store; -1 for null texts or a file that could not be written.
int ExportRootCertificate(CertificateSource& source, const char* subject, const char* issuer,
                          const std::filesystem::path& folder);
// genMySSLFile / genROOTSSLFile: the random seed for the TLS layer, once the certificate
// files it goes with are in place. 0 when written; -1 when they are missing or the seed
// could not be written.
int PrepareClientTlsFiles(const std::filesystem::path& folder);
int PrepareRootTlsFiles(const std::filesystem::path& folder);

}  // namespace hxsup
