// EAPOL PDUs as they follow the 802.3 header (version, packet type, big-endian body
// length, body) and the WPA or RSN EAPOL-Key descriptor they carry (the same layout). Parsing checks every length
// against the bytes at hand: a frame that does not fit is refused, never read past.
// The simulated access point has its own frame code (sim/core/EapolKeyFrame.h) on purpose:
// the handshake tests run one side against the other, and shared code would check itself.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace hxsup {

using MacAddress = std::array<uint8_t, 6>;

constexpr uint8_t kEapolVersion = 1;  // what we send; any version is accepted
constexpr size_t kEapolHeaderSize = 4;

enum class EapolType : uint8_t { EapPacket = 0, Start = 1, Logoff = 2, Key = 3 };

// A PDU checked against its header. body is exactly the body length given in the
// header; bytes after it (padding) are not part of pdu.
struct EapolPdu {
    uint8_t version = 0;
    uint8_t type = 0;
    std::span<const uint8_t> body;
    std::span<const uint8_t> pdu;  // header and body
};

// nullopt when the bytes are shorter than the header or the body length says.
std::optional<EapolPdu> ParseEapol(std::span<const uint8_t> bytes);
std::vector<uint8_t> BuildEapol(EapolType type, std::span<const uint8_t> body);

// --- The WPA and RSN EAPOL-Key descriptors ----------------------------------------------
constexpr uint8_t kWpaKeyDescriptorType = 254, kRsnKeyDescriptorType = 2;
constexpr size_t kKeyBodyFixedSize = 95;                // everything up to the key data
constexpr size_t kKeyMicOffset = kEapolHeaderSize + 77;  // in the whole PDU
constexpr size_t kKeyMicSize = 16;

namespace KeyInfo {
constexpr uint16_t VersionMask = 0x0007;
constexpr uint16_t Pairwise = 0x0008;
constexpr uint16_t IndexMask = 0x0030;
constexpr int IndexShift = 4;
constexpr uint16_t Install = 0x0040;
constexpr uint16_t Ack = 0x0080;
constexpr uint16_t Mic = 0x0100;
constexpr uint16_t Secure = 0x0200;
constexpr uint16_t Error = 0x0400;
constexpr uint16_t Request = 0x0800;
constexpr uint16_t EncryptedData = 0x1000;
}  // namespace KeyInfo

struct KeyFrame {
    uint8_t eapolVersion = kEapolVersion;
    uint8_t descriptorType = kWpaKeyDescriptorType;
    uint16_t keyInfo = 0;
    uint16_t keyLength = 0;
    uint64_t replayCounter = 0;
    std::array<uint8_t, 32> nonce{};
    std::array<uint8_t, 16> iv{};
    std::array<uint8_t, 8> rsc{};
    std::array<uint8_t, 8> id{};
    std::array<uint8_t, 16> mic{};
    std::vector<uint8_t> data;

    int DescriptorVersion() const { return keyInfo & KeyInfo::VersionMask; }
    int KeyIndex() const { return (keyInfo & KeyInfo::IndexMask) >> KeyInfo::IndexShift; }
    bool Has(uint16_t bits) const { return (keyInfo & bits) == bits; }
};

// A parsed EAPOL-Key frame and the exact PDU bytes it came from (for the MIC check).
struct ReceivedKeyFrame {
    KeyFrame frame;
    std::span<const uint8_t> pdu;
};

// nullopt unless the bytes hold an EAPOL-Key PDU with a body of at least the fixed part
// and key data that fits into the body.
std::optional<ReceivedKeyFrame> ParseKeyFrame(std::span<const uint8_t> bytes);
// The whole PDU, EAPOL header included, with the MIC field as it is in frame.
std::vector<uint8_t> BuildKeyFrame(const KeyFrame& frame);

}  // namespace hxsup
