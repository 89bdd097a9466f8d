// EAPOL-Key frames of the WPA and RSN key handshakes as the access point reads and writes
// them: descriptor type 254 (WPA) or 2 (RSN), key information bits, replay counter, nonce, IV, RSC, MIC and key
// data. Reading checks every length against the frame; nothing is read past its end.
// The supplicant has its own frame code (sim/dot1x/core/EapolFrame.h) on purpose: the
// handshake tests run one side against the other, and shared code would check itself.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace hxsim {

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

constexpr uint8_t kWpaKeyDescriptor = 254, kRsnKeyDescriptor = 2;
constexpr int kKeyVersionMd5Rc4 = 1, kKeyVersionSha1Aes = 2;

// Offsets within the whole frame (EAPOL header included).
namespace KeyFrameOffset {
constexpr int Descriptor = 4, Info = 5, KeyLength = 7, Replay = 9, Nonce = 17, Iv = 49, Rsc = 65,
              Id = 73, Mic = 81, DataLength = 97, Data = 99;
}

struct EapolKeyFrame {
    uint8_t descriptor = kWpaKeyDescriptor;
    uint16_t info = 0;
    uint16_t keyLength = 0;
    uint64_t replayCounter = 0;
    std::array<uint8_t, 32> nonce{};
    std::array<uint8_t, 16> iv{};
    std::array<uint8_t, 8> rsc{};
    std::array<uint8_t, 16> mic{};
    std::vector<uint8_t> data;
};

// The whole frame with the MIC field as given (zero it, compute, then SetMic).
std::vector<uint8_t> EncodeKeyFrame(const EapolKeyFrame& frame);
// Reads a WPA or RSN EAPOL-Key frame; nothing for anything else or anything malformed.
std::optional<EapolKeyFrame> DecodeKeyFrame(const uint8_t* frame, int length);
// The MIC over the frame with its MIC field zeroed: HMAC-MD5 (version 1) or the first 16
// bytes of HMAC-SHA1 (version 2).
std::array<uint8_t, 16> KeyFrameMic(int version, const std::vector<uint8_t>& kck, std::vector<uint8_t> frame);
void SetMic(std::vector<uint8_t>& frame, const std::array<uint8_t, 16>& mic);

}  // namespace hxsim
