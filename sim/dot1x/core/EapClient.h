// The EAP peer of the library: identity, then a SIMULATED stand-in for EAP-TLS or
// PEAP/MS-CHAPv2 (a challenge-response under the experimental EAP type 255 that the
// simulated access point's authentication server runs; the format is in
// sim/core/EapSimulation.h). It ends in a 32-byte master key that the server derives
// too. No TLS is done here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/dot1x/core/CredentialFiles.h"

namespace hxsup {

enum class EapMethod { Tls, Peap, Unsupported };

struct EapSettings {
    std::string identity;       // the outer identity
    std::string password;       // PEAP: the user's password (TLS: the key file's pass phrase)
    EapMethod method = EapMethod::Unsupported;
    std::string innerIdentity;  // PEAP; the outer identity when empty
};

// What the exchange needs from the files the certificate export wrote.
struct EapCredentials {
    std::optional<CertificateNames> clientCertificate;  // TLS
    std::optional<std::vector<uint8_t>> privateKey;     // TLS, opened with the pass phrase
    std::optional<CertificateNames> trustedRoot;        // when present, the server must chain to it
};

enum class EapVerdict {
    Answered,       // a response went out
    Succeeded,      // Success after our method finished: the master key is there
    Failed,         // Failure from the server
    Declined,       // a method we cannot or will not run: answered with a Nak
    Ignored,        // not an EAP request for us, or out of turn
    Malformed,
    BadServerProof, // the server could not prove the shared secret: no answer
};

struct EapStep {
    EapVerdict verdict = EapVerdict::Ignored;
    std::vector<uint8_t> reply;  // a whole EAPOL PDU
};

// Method names as the EAP configuration record holds them ("TLS", "PEAP"; any case).
EapMethod MethodFromName(std::string_view method, std::string_view innerMethod);

class EapClient {
public:
    EapClient(EapSettings settings, EapCredentials credentials);

    static std::vector<uint8_t> StartFrame();
    EapStep HandleFrame(std::span<const uint8_t> bytes);

    bool Succeeded() const { return succeeded_; }
    const std::optional<std::array<uint8_t, 32>>& MasterKey() const { return masterKey_; }

private:
    EapStep OnRequest(uint8_t identifier, uint8_t type, std::span<const uint8_t> data);
    EapStep OnServerHello(uint8_t identifier, std::span<const uint8_t> data);
    EapStep OnServerFinished(uint8_t identifier, std::span<const uint8_t> data);
    EapStep Respond(uint8_t identifier, uint8_t type, std::vector<uint8_t> data, EapVerdict verdict);
    bool Secret(std::array<uint8_t, 32>& secret) const;
    const std::string& ProofIdentity() const;

    EapSettings settings_;
    EapCredentials credentials_;

    enum class Stage { Idle, MethodStarted, AwaitingSuccess, Done, Failed } stage_ = Stage::Idle;
    std::array<uint8_t, 32> serverNonce_{};
    std::array<uint8_t, 32> clientNonce_{};
    std::optional<std::array<uint8_t, 32>> pendingKey_;
    std::optional<std::array<uint8_t, 32>> masterKey_;
    bool succeeded_ = false;
    // The last request answered and our answer, for a server that repeats itself.
    std::optional<uint8_t> lastIdentifier_;
    std::vector<uint8_t> lastRequest_;
    std::vector<uint8_t> lastReply_;
};

}  // namespace hxsup
