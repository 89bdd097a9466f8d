// The authentication server's side of the simulated EAP method, for the supplicant's
// tests: it writes its requests and checks the answers by the message format of
// sim/core/EapSimulation.h, byte by byte.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace suptest {

struct EapUser {
    std::string outerIdentity;
    std::string innerIdentity;        // PEAP
    std::string password;             // PEAP
    std::string certificateSubject;   // TLS
    std::string certificateIssuer;    // TLS
    std::vector<uint8_t> key;         // TLS: the certificate's 32-byte private key
    bool tls = false;
};

class TestEapServer {
public:
    TestEapServer(EapUser user, std::string serverIssuer = "CN=HX Test Root")
        : user_(std::move(user)), serverIssuer_(std::move(serverIssuer)) {}

    std::vector<uint8_t> IdentityRequest();
    bool AcceptIdentity(std::span<const uint8_t> pdu);
    std::vector<uint8_t> ServerHello();
    // Checks the client's method answer; on success the server may finish.
    bool AcceptClientAnswer(std::span<const uint8_t> pdu);
    std::vector<uint8_t> ServerFinished(bool corruptProof = false);
    bool AcceptClientAck(std::span<const uint8_t> pdu);
    std::vector<uint8_t> Success();
    std::vector<uint8_t> Failure();
    // An EAP request of any type, for tests of what the client declines.
    std::vector<uint8_t> Request(uint8_t type, std::vector<uint8_t> data);

    const std::optional<std::array<uint8_t, 32>>& MasterKey() const { return masterKey_; }
    uint8_t LastIdentifier() const { return identifier_; }

private:
    std::vector<uint8_t> Packet(uint8_t code, std::vector<uint8_t> rest);
    std::optional<std::vector<uint8_t>> ResponseData(std::span<const uint8_t> pdu, uint8_t type) const;
    std::array<uint8_t, 32> Secret() const;
    const std::string& ProofIdentity() const { return user_.tls ? user_.outerIdentity : user_.innerIdentity; }

    EapUser user_;
    std::string serverIssuer_;
    uint8_t identifier_ = 0;
    std::array<uint8_t, 32> serverNonce_{};
    std::array<uint8_t, 32> clientNonce_{};
    std::optional<std::array<uint8_t, 32>> masterKey_;
};

}  // namespace suptest
