#include "sim/dot1x/core/EapConfig.h"

#include <cstring>
#include <string>

namespace hxsup {
namespace {

template <size_t N>
std::string Field(const char (&field)[N]) {
    const void* end = std::memchr(field, '\0', N);
    const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : N;
    return std::string(field, length);
}

}  // namespace

EapSettings SettingsFromConfig(const hx::EapConfigRecord& config) {
    EapSettings settings;
    settings.identity = Field(config.identity);
    settings.password = Field(config.password);
    settings.method = MethodFromName(Field(config.method), Field(config.innerMethod));
    settings.innerIdentity = Field(config.innerIdentity);
    return settings;
}

EapCredentials LoadCredentials(const hx::EapConfigRecord& config, const std::filesystem::path& folder) {
    EapCredentials credentials;
    const std::string caFile = Field(config.caCertFile);
    if (!caFile.empty()) credentials.trustedRoot = ReadCertificateFile(folder / caFile);
    if (SettingsFromConfig(config).method == EapMethod::Tls) {
        const std::string certificateFile = Field(config.clientCertFile);
        const std::string keyFile = Field(config.privateKeyFile);
        if (!certificateFile.empty()) credentials.clientCertificate = ReadCertificateFile(folder / certificateFile);
        if (!keyFile.empty()) credentials.privateKey = ReadPrivateKeyFile(folder / keyFile, Field(config.password));
    }
    return credentials;
}

}  // namespace hxsup
