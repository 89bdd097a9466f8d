#include "auth/SupplicantRecordBuilder.h"

#include <cstring>

#include "adapter/LittleEndian.h"
#include "config/WlanSetting.h"

namespace hx {
namespace {

// Copies text into a fixed field, cut so that the last byte stays NUL.
template <size_t N>
void PutText(char (&field)[N], std::string_view text) {
    const size_t length = text.size() < N ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

}  // namespace

std::optional<int> CipherCodeFor(int wepStatus, int wepKeyLength) {
    switch (wepStatus) {
    case WepStatus::Tkip: return CipherCode::Tkip;
    case WepStatus::Aes: return CipherCode::Ccmp;
    case WepStatus::Wep:
        return wepKeyLength == 128 || wepKeyLength == 256 ? CipherCode::Wep104 : CipherCode::Wep40;
    default: return std::nullopt;
    }
}

bool FillEapConfigRecord(EapConfigRecord& record, int dot1xProtocol, std::string_view username,
                         std::string_view password) {
    std::memset(&record, 0, sizeof record);
    if (dot1xProtocol != Dot1xMethod::EapTls && dot1xProtocol != Dot1xMethod::Peap) return false;
    const bool tls = dot1xProtocol == Dot1xMethod::EapTls;

    PutText(record.identity, username);
    PutText(record.password, tls ? std::string_view(kPrivateKeyPassphrase) : password);
    PutText(record.caCertFile, kCaCertificateFile);
    if (tls) {
        PutText(record.clientCertFile, kClientCertificateFile);
        PutText(record.privateKeyFile, kPrivateKeyFile);
    }
    PutText(record.eapName, "EAP");
    PutText(record.method, tls ? "TLS" : "PEAP");
    PutLe32(record.fragmentSize, kEapFragmentSize);
    PutText(record.randomFile, kRandomSeedFile);
    if (!tls) {
        PutText(record.innerMethod, "MS-CHAPv2");
        PutText(record.innerIdentity, username);
    }
    return true;
}

const std::array<uint8_t, 16>& NegotiationRunConstant() {
    static constexpr std::array<uint8_t, 16> kConstant{'H', 'X', '-', '8', '8', 'U', ' ', 'W',
                                                       'P', 'A', ' ', 'r', 'u', 'n', ' ', '1'};
    return kConstant;
}

void PrepareKeyNegotiationRecord(KeyNegotiationRecord& record, const uint8_t ownMac[6],
                                 std::span<const uint8_t> wpaElement, int cipherCode,
                                 KeyInstallCallback installKey) {
    std::memset(&record, 0, sizeof record);
    std::memcpy(record.ownMac, ownMac, sizeof record.ownMac);
    record.wpaElement = wpaElement.data();
    record.wpaElementLength = static_cast<uint16_t>(wpaElement.size());
    record.pairwiseCipher = cipherCode;
    record.groupCipher = cipherCode;
    record.installKey = installKey;
}

void PutRunConstant(KeyNegotiationRecord& record) {
    std::memcpy(record.runConstant, NegotiationRunConstant().data(), sizeof record.runConstant);
}

}  // namespace hx
