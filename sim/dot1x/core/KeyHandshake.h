// The supplicant's side of the WPA (version 1) key handshakes: the 4-way handshake that
// yields the pairwise transient key and the group key handshake that delivers the group
// key. It consumes EAPOL-Key PDUs, produces the replies, and names the keys to install;
// sending and installing are the caller's, in that order (a reply goes out before the
// key it confirms is installed).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/dot1x/core/EapolFrame.h"

namespace hxsup {

// Cipher codes as the key-negotiation record carries them.
namespace Cipher { constexpr int Wep40 = 2, Wep104 = 4, Tkip = 8, Ccmp = 16; }

// Key bytes of a cipher (TKIP: the temporal key and both MIC keys); 0 for an unknown code.
int CipherKeyLength(int cipher);

// The element handed to message 2 and expected back in message 3: id 0xDD, a length
// byte, then exactly that many bytes.
constexpr size_t kMaxElementSize = 257;
bool IsWellFormedWpaElement(std::span<const uint8_t> element);

struct NegotiationSettings {
    MacAddress ownAddress{};
    std::array<uint8_t, 32> pmk{};
    std::array<uint8_t, 16> runConstant{};  // mixed into every nonce this run makes
    std::vector<uint8_t> wpaElement;
    int pairwiseCipher = 0;
    int groupCipher = 0;
};

enum class KeyKind { Pairwise = 0, Group = 1 };

struct NegotiatedKey {
    std::array<uint8_t, 8> rsc{};
    std::vector<uint8_t> key;
    int index = 0;
    KeyKind kind = KeyKind::Pairwise;
};

// What became of one received frame. Everything but Answered means: dropped, no reply,
// nothing installed, the handshake state unchanged.
enum class FrameVerdict {
    Answered,
    Malformed,           // not an EAPOL-Key PDU, or its lengths do not fit
    NotWpaDescriptor,    // another key descriptor type
    UnexpectedVersion,   // key descriptor version not the one of our pairwise cipher
    UnexpectedMessage,   // no message of ours has these bits, or it comes out of turn
    NoAuthenticator,     // the access point's address is not known yet
    Replayed,            // replay counter not above the last verified one
    BadMic,
    NonceMismatch,       // message 3 with another ANonce than message 1
    ElementMismatch,     // message 3 does not carry the access point's WPA element
    BadKeyLength,
    BadKeyData,          // group key data too short or failing its unwrap
    CryptoFailure,
};

struct HandshakeStep {
    FrameVerdict verdict = FrameVerdict::Malformed;
    std::vector<uint8_t> reply;        // the PDU to send, when answered
    std::vector<NegotiatedKey> keys;   // to install after the reply has gone out
};

// The pairwise transient key: KCK, KEK and the temporal key (TKIP 32 bytes, CCMP 16).
struct TransientKey {
    std::array<uint8_t, 64> bytes{};
    std::span<const uint8_t> Kck() const { return std::span(bytes).first(16); }
    std::span<const uint8_t> Kek() const { return std::span(bytes).subspan(16, 16); }
};
// PRF-512 over "Pairwise key expansion" with the smaller address and nonce first.
std::optional<TransientKey> DeriveTransientKey(std::span<const uint8_t, 32> pmk, const MacAddress& a,
                                               const MacAddress& b, std::span<const uint8_t, 32> nonceA,
                                               std::span<const uint8_t, 32> nonceB);

class KeyHandshake {
public:
    // nullopt when the ciphers are not ones a WPA network can use or the element is not
    // a well-formed 0xDD element.
    static std::optional<KeyHandshake> Create(NegotiationSettings settings);

    void SetAuthenticatorAddress(const MacAddress& address);
    HandshakeStep HandleFrame(std::span<const uint8_t> bytes);

    int DescriptorVersion() const { return descriptorVersion_; }
    bool PairwiseKeyInstalled() const { return installedPtk_.has_value(); }
    bool GroupKeyInstalled() const { return !installedGtk_.empty(); }

private:
    explicit KeyHandshake(NegotiationSettings settings);

    HandshakeStep OnPairwiseMessage1(const ReceivedKeyFrame& received);
    HandshakeStep OnPairwiseMessage3(const ReceivedKeyFrame& received);
    HandshakeStep OnGroupMessage1(const ReceivedKeyFrame& received);
    bool IsReplayed(uint64_t counter) const;
    bool MicIsValid(const ReceivedKeyFrame& received, std::span<const uint8_t> kck) const;
    // Our answer to a frame: its key length and replay counter echoed, sealed under kck.
    std::optional<std::vector<uint8_t>> Reply(const KeyFrame& to, uint16_t keyInfo, std::span<const uint8_t> kck,
                                              const std::array<uint8_t, 32>& nonce = {},
                                              std::vector<uint8_t> data = {}) const;
    bool MakeNonce(std::array<uint8_t, 32>& nonce);

    NegotiationSettings settings_;
    int descriptorVersion_ = 1;
    std::optional<MacAddress> authenticator_;
    std::optional<uint64_t> verifiedCounter_;
    uint64_t noncesMade_ = 0;

    // The handshake in progress: set by message 1, used by message 3.
    std::optional<std::array<uint8_t, 32>> anonce_;
    std::array<uint8_t, 32> snonce_{};
    std::optional<TransientKey> candidate_;

    std::optional<TransientKey> installedPtk_;
    std::vector<uint8_t> installedGtk_;  // empty until one is installed
    int installedGtkIndex_ = -1;
};

}  // namespace hxsup
