// A small access point side of the WPA and RSN key handshakes for the supplicant's tests. It
// writes and reads EAPOL-Key frames by their byte offsets (not through the supplicant's
// codec) and can be told to send frames with any field changed, MIC recomputed or not.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/dot1x/core/KeyHandshake.h"

namespace suptest {

using Bytes = std::vector<uint8_t>;

// Field offsets in a whole EAPOL-Key PDU.
namespace At {
constexpr size_t BodyLength = 2, Descriptor = 4, Info = 5, KeyLength = 7, Replay = 9, Nonce = 17, Iv = 49,
                 Rsc = 65, Mic = 81, DataLength = 97, Data = 99;
}

struct AuthenticatorSetup {
    std::array<uint8_t, 32> pmk{};
    hxsup::MacAddress ownAddress{0x00, 0x0A, 0xEB, 0x11, 0x22, 0x33};   // the access point
    hxsup::MacAddress station{0x00, 0x0E, 0x2E, 0x44, 0x55, 0x66};
    int cipher = hxsup::Cipher::Tkip;  // pairwise and group
    Bytes wpaElement;                  // RSN: the network's RSN element
    bool rsn = false;                  // descriptor 2, encrypted key data, the GTK in message 3
    Bytes stationElement;              // RSN: what message 2 must carry
    int groupKeyIndex = 1;
    std::array<uint8_t, 8> groupRsc{0x05, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x00};
    uint8_t anonceFirstByte = 0xA0;  // 0x00 or 0xFF put the ANonce first or last in the expansion
};

// The WPA element of a PSK network with one pairwise cipher.
Bytes WpaPskElement(int cipher);
// The RSN element of a PSK network with one cipher, and a station's choice from it.
Bytes RsnPskElement(int cipher);

class TestAuthenticator {
public:
    explicit TestAuthenticator(AuthenticatorSetup setup);

    int Version() const { return setup_.cipher == hxsup::Cipher::Ccmp ? 2 : 1; }
    Bytes Message1();
    // Checks message 2's bits, counter, MIC (under the key it implies) and element.
    bool AcceptMessage2(std::span<const uint8_t> pdu);
    Bytes Message3();
    // RSN: message 3 with this plain key data, encrypted and sealed.
    Bytes Message3With(const Bytes& plainKeyData);
    // RSN: the network's element and the GTK KDE, as message 3 carries them.
    Bytes Message3KeyData() const;
    bool AcceptMessage4(std::span<const uint8_t> pdu);
    Bytes GroupMessage1();
    bool AcceptGroupMessage2(std::span<const uint8_t> pdu);

    // The temporal key the station must install, and the group key.
    Bytes PairwiseKey() const;
    const Bytes& GroupKey() const { return groupKey_; }
    const std::array<uint8_t, 8>& GroupRsc() const { return setup_.groupRsc; }
    int GroupKeyIndex() const { return setup_.groupKeyIndex; }

    // Recomputes the MIC of a frame changed by a test, under the negotiated KCK.
    void Reseal(Bytes& pdu) const;
    uint64_t LastReplayCounter() const { return replayCounter_; }

private:
    Bytes Frame(uint16_t info, uint16_t keyLength, std::span<const uint8_t> nonce, std::span<const uint8_t> iv,
                std::span<const uint8_t> rsc, std::span<const uint8_t> data, bool withMic);
    bool MicMatches(std::span<const uint8_t> pdu, std::span<const uint8_t> kck) const;
    // RSN key data encrypted under the KEK: RC4 keyed with iv (version 1) or AES key wrap.
    Bytes Encrypted(Bytes plain, std::span<const uint8_t> iv) const;
    Bytes GroupKeyKde() const;

    AuthenticatorSetup setup_;
    uint64_t replayCounter_ = 0;
    std::array<uint8_t, 32> anonce_{};
    std::optional<hxsup::TransientKey> ptk_;
    Bytes groupKey_;
};

}  // namespace suptest
