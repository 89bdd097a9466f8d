#include "TestEapServer.h"

#include <algorithm>

#include "sim/dot1x/core/Crypto.h"

namespace suptest {
namespace {

std::span<const uint8_t> Text(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

std::span<const uint8_t> Label(const char* label) {
    return {reinterpret_cast<const uint8_t*>(label), std::char_traits<char>::length(label)};
}

void AppendText(std::vector<uint8_t>& out, const std::string& s) {
    out.push_back(static_cast<uint8_t>(s.size()));
    out.insert(out.end(), s.begin(), s.end());
}

}  // namespace

std::vector<uint8_t> TestEapServer::Packet(uint8_t code, std::vector<uint8_t> rest) {
    const size_t length = 4 + rest.size();
    std::vector<uint8_t> pdu(8 + rest.size());
    const uint8_t header[8] = {1, 0, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length),
                               code, identifier_, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
    std::copy(header, header + 8, pdu.begin());
    std::copy(rest.begin(), rest.end(), pdu.begin() + 8);
    return pdu;
}

std::vector<uint8_t> TestEapServer::Request(uint8_t type, std::vector<uint8_t> data) {
    ++identifier_;
    data.insert(data.begin(), type);
    return Packet(1, std::move(data));
}

std::optional<std::vector<uint8_t>> TestEapServer::ResponseData(std::span<const uint8_t> pdu, uint8_t type) const {
    if (pdu.size() < 9 || pdu[1] != 0 || pdu[4] != 2 || pdu[5] != identifier_ || pdu[8] != type) return std::nullopt;
    const size_t length = size_t{pdu[6]} << 8 | pdu[7];
    if (length + 4 != pdu.size()) return std::nullopt;
    return std::vector<uint8_t>(pdu.begin() + 9, pdu.end());
}

std::array<uint8_t, 32> TestEapServer::Secret() const {
    std::array<uint8_t, 32> secret{};
    if (user_.tls) std::copy_n(user_.key.begin(), 32, secret.begin());
    else hxsup::Sha256(Text(user_.password), secret.data());
    return secret;
}

std::vector<uint8_t> TestEapServer::IdentityRequest() { return Request(1, {}); }

bool TestEapServer::AcceptIdentity(std::span<const uint8_t> pdu) {
    const auto data = ResponseData(pdu, 1);
    return data && std::string(data->begin(), data->end()) == user_.outerIdentity;
}

std::vector<uint8_t> TestEapServer::ServerHello() {
    for (size_t i = 0; i < serverNonce_.size(); ++i) serverNonce_[i] = static_cast<uint8_t>(0x50 + i);
    std::vector<uint8_t> data = {0, 1};
    data.insert(data.end(), serverNonce_.begin(), serverNonce_.end());
    AppendText(data, "CN=HX Test Server");
    AppendText(data, serverIssuer_);
    return Request(255, data);
}

bool TestEapServer::AcceptClientAnswer(std::span<const uint8_t> pdu) {
    const auto data = ResponseData(pdu, 255);
    if (!data) return false;
    std::vector<uint8_t> expectedNames;
    if (user_.tls) {
        AppendText(expectedNames, user_.certificateSubject);
        AppendText(expectedNames, user_.certificateIssuer);
    } else {
        AppendText(expectedNames, user_.innerIdentity);
    }
    if (data->size() != 2 + 32 + expectedNames.size() + 32) return false;
    if ((*data)[0] != (user_.tls ? 1 : 2) || (*data)[1] != (user_.tls ? 2 : 3)) return false;
    if (!std::equal(expectedNames.begin(), expectedNames.end(), data->begin() + 34)) return false;
    std::copy_n(data->begin() + 2, 32, clientNonce_.begin());
    uint8_t proof[32];
    hxsup::HmacSha256(Secret(), {Label("HXSIM client"), serverNonce_, clientNonce_, Text(ProofIdentity())}, proof);
    return std::equal(proof, proof + 32, data->end() - 32);
}

std::vector<uint8_t> TestEapServer::ServerFinished(bool corruptProof) {
    uint8_t proof[32];
    hxsup::HmacSha256(Secret(), {Label("HXSIM server"), serverNonce_, clientNonce_, Text(ProofIdentity())}, proof);
    if (corruptProof) proof[0] ^= 1;
    std::array<uint8_t, 32> key{};
    hxsup::HmacSha256(Secret(), {Label("HXSIM pmk"), serverNonce_, clientNonce_}, key.data());
    masterKey_ = key;
    std::vector<uint8_t> data = {static_cast<uint8_t>(user_.tls ? 1 : 2), 4};
    data.insert(data.end(), proof, proof + 32);
    return Request(255, data);
}

bool TestEapServer::AcceptClientAck(std::span<const uint8_t> pdu) {
    const auto data = ResponseData(pdu, 255);
    return data && *data == std::vector<uint8_t>{static_cast<uint8_t>(user_.tls ? 1 : 2), 5};
}

std::vector<uint8_t> TestEapServer::Success() { return Packet(3, {}); }
std::vector<uint8_t> TestEapServer::Failure() { return Packet(4, {}); }

}  // namespace suptest
