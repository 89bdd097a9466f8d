// The supplicant's side of the WPA (version 1) and RSN (WPA2) key handshakes: the 4-way
// handshake that yields the pairwise transient key, and the group key handshake that
// delivers the group key (RSN: message 3 delivers it, the group handshake renews it). An
// access point element with id 48 asks for RSN. It consumes EAPOL-Key PDUs, produces the
// replies, and names the keys to install; sending and installing are the caller's, in
// that order (a reply goes out before the key it confirms is installed).
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

// The access point's element, as the survey showed it: id 0xDD (WPA) or 48 (RSN), a
// length byte, then exactly that many bytes. WPA: message 2 carries it and message 3 must
// carry it back. RSN: message 3 must carry it back (anything else is a downgrade).
constexpr size_t kMaxElementSize = 257;
bool IsWellFormedWpaElement(std::span<const uint8_t> element);
bool IsRsnElement(std::span<const uint8_t> element);

struct NegotiationSettings {
    MacAddress ownAddress{};
    std::array<uint8_t, 32> pmk{};
    std::array<uint8_t, 16> runConstant{};  // mixed into every nonce this run makes
    std::vector<uint8_t> wpaElement;
    // RSN: the adapter's own RSN element of its association request, which message 2
    // carries. Its pairwise suite and the group suite are the ciphers of the negotiation;
    // the cipher codes below serve WPA only.
    std::vector<uint8_t> stationElement;
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
    NotWpaDescriptor,    // another key descriptor type than the negotiation's (WPA 254, RSN 2)
    UnexpectedVersion,   // key descriptor version not the one of our pairwise cipher
    UnexpectedMessage,   // no message of ours has these bits, or it comes out of turn
    NoAuthenticator,     // the access point's address is not known yet
    Replayed,            // replay counter not above the last verified one
    BadMic,
    NonceMismatch,       // message 3 with another ANonce than message 1
    ElementMismatch,     // message 3 does not carry the access point's element (RSN: a
                         // downgrade, which ends the negotiation)
    BadKeyLength,
    BadKeyData,          // key data not encrypted, too short, failing its unwrap, or
                         // without a group key of the group cipher's length
    CryptoFailure,
    Aborted,             // the negotiation ended on a downgrade; nothing more is answered
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
    // a well-formed 0xDD element; for RSN, when the station's element does not name one
    // pairwise suite of TKIP or CCMP and the network's group suite (TKIP or CCMP).
    static std::optional<KeyHandshake> Create(NegotiationSettings settings);

    void SetAuthenticatorAddress(const MacAddress& address);
    HandshakeStep HandleFrame(std::span<const uint8_t> bytes);

    int DescriptorVersion() const { return descriptorVersion_; }
    bool IsRsn() const { return rsn_; }
    bool PairwiseKeyInstalled() const { return installedPtk_.has_value(); }
    bool GroupKeyInstalled() const { return !installedGtk_.empty(); }

private:
    explicit KeyHandshake(NegotiationSettings settings);

    HandshakeStep OnPairwiseMessage1(const ReceivedKeyFrame& received);
    HandshakeStep OnPairwiseMessage3(const ReceivedKeyFrame& received);
    HandshakeStep OnGroupMessage1(const ReceivedKeyFrame& received);
    bool IsReplayed(uint64_t counter) const;
    bool MicIsValid(const ReceivedKeyFrame& received, std::span<const uint8_t> kck) const;
    // Our answer to a frame: its replay counter (and, WPA, its key length) echoed, sealed
    // under kck.
    std::optional<std::vector<uint8_t>> Reply(const KeyFrame& to, uint16_t keyInfo, std::span<const uint8_t> kck,
                                              const std::array<uint8_t, 32>& nonce = {},
                                              std::vector<uint8_t> data = {}) const;
    bool MakeNonce(std::array<uint8_t, 32>& nonce);
    // The key data decrypted under the KEK: RC4 with the IV (version 1) or AES key unwrap (2).
    bool DecryptKeyData(const KeyFrame& frame, std::span<const uint8_t> kek, std::vector<uint8_t>& out) const;
    // RSN: the group key of decrypted key data and its index, from its GTK KDE.
    bool GroupKeyOf(std::span<const uint8_t> keyData, NegotiatedKey& key) const;

    NegotiationSettings settings_;
    bool rsn_ = false;
    uint8_t descriptorType_ = kWpaKeyDescriptorType;
    int descriptorVersion_ = 1;
    bool aborted_ = false;
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
