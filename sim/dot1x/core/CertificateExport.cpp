#include "sim/dot1x/core/CertificateExport.h"

namespace hxsup {

std::optional<StoredCertificate> ChainedCertificateSource::Find(CertificateStore store, const std::string& subject,
                                                                const std::string& issuer) {
    for (const auto& source : sources_)
        if (auto found = source->Find(store, subject, issuer)) return found;
    return std::nullopt;
}

int ExportClientCertificate(CertificateSource& source, const char* subject, const char* issuer,
                            const std::filesystem::path& folder) {
    if (!subject || !issuer) return -1;
    const auto certificate = source.Find(CertificateStore::My, subject, issuer);
    if (!certificate || !certificate->hasPrivateKey || !certificate->exportable || certificate->privateKey.empty())
        return 1;
    if (!WriteCertificateFile(folder / kClientCertificateFile, certificate->names, certificate->der)) return -1;
    if (!WritePrivateKeyFile(folder / kPrivateKeyFile, certificate->privateKey, kPrivateKeyPassphrase)) return -1;
    return 0;
}

int ExportRootCertificate(CertificateSource& source, const char* subject, const char* issuer,
                          const std::filesystem::path& folder) {
    if (!subject || !issuer) return -1;
    const auto certificate = source.Find(CertificateStore::Root, subject, issuer);
    if (!certificate) return 1;
    return WriteCertificateFile(folder / kRootCertificateFile, certificate->names, certificate->der) ? 0 : -1;
}

int PrepareClientTlsFiles(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(folder / kClientCertificateFile, error) ||
        !std::filesystem::is_regular_file(folder / kPrivateKeyFile, error))
        return -1;
    return WriteRandomSeedFile(folder / kRandomSeedFile) ? 0 : -1;
}

int PrepareRootTlsFiles(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(folder / kRootCertificateFile, error)) return -1;
    return WriteRandomSeedFile(folder / kRandomSeedFile) ? 0 : -1;
}

}  // namespace hxsup
