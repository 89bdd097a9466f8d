#include "sim/core/EapolKeyFrame.h"

#include <algorithm>
#include <cstring>

#include "sim/core/ApCrypto.h"

namespace hxsim {
namespace {

uint16_t GetBe16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

void PutBe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

}  // namespace

std::vector<uint8_t> EncodeKeyFrame(const EapolKeyFrame& f) {
    std::vector<uint8_t> out(KeyFrameOffset::Data + f.data.size());
    out[0] = 1;  // EAPOL version
    out[1] = 3;  // EAPOL-Key
    PutBe16(&out[2], static_cast<uint16_t>(out.size() - 4));
    out[KeyFrameOffset::Descriptor] = f.descriptor;
    PutBe16(&out[KeyFrameOffset::Info], f.info);
    PutBe16(&out[KeyFrameOffset::KeyLength], f.keyLength);
    for (int i = 0; i < 8; ++i) out[KeyFrameOffset::Replay + i] = static_cast<uint8_t>(f.replayCounter >> (56 - 8 * i));
    std::memcpy(&out[KeyFrameOffset::Nonce], f.nonce.data(), 32);
    std::memcpy(&out[KeyFrameOffset::Iv], f.iv.data(), 16);
    std::memcpy(&out[KeyFrameOffset::Rsc], f.rsc.data(), 8);
    std::memcpy(&out[KeyFrameOffset::Mic], f.mic.data(), 16);
    PutBe16(&out[KeyFrameOffset::DataLength], static_cast<uint16_t>(f.data.size()));
    std::copy(f.data.begin(), f.data.end(), out.begin() + KeyFrameOffset::Data);
    return out;
}

std::optional<EapolKeyFrame> DecodeKeyFrame(const uint8_t* p, int length) {
    if (p == nullptr || length < KeyFrameOffset::Data) return std::nullopt;
    if (p[1] != 3) return std::nullopt;
    const int bodyLength = GetBe16(&p[2]);
    if (bodyLength + 4 > length || bodyLength + 4 < KeyFrameOffset::Data) return std::nullopt;
    const uint8_t descriptor = p[KeyFrameOffset::Descriptor];
    if (descriptor != kWpaKeyDescriptor && descriptor != kRsnKeyDescriptor) return std::nullopt;
    EapolKeyFrame f;
    f.descriptor = descriptor;
    f.info = GetBe16(&p[KeyFrameOffset::Info]);
    f.keyLength = GetBe16(&p[KeyFrameOffset::KeyLength]);
    for (int i = 0; i < 8; ++i) f.replayCounter = (f.replayCounter << 8) | p[KeyFrameOffset::Replay + i];
    std::memcpy(f.nonce.data(), &p[KeyFrameOffset::Nonce], 32);
    std::memcpy(f.iv.data(), &p[KeyFrameOffset::Iv], 16);
    std::memcpy(f.rsc.data(), &p[KeyFrameOffset::Rsc], 8);
    std::memcpy(f.mic.data(), &p[KeyFrameOffset::Mic], 16);
    const int dataLength = GetBe16(&p[KeyFrameOffset::DataLength]);
    if (KeyFrameOffset::Data + dataLength > bodyLength + 4) return std::nullopt;
    f.data.assign(p + KeyFrameOffset::Data, p + KeyFrameOffset::Data + dataLength);
    return f;
}

std::array<uint8_t, 16> KeyFrameMic(int version, const std::vector<uint8_t>& kck, std::vector<uint8_t> frame) {
    std::array<uint8_t, 16> mic{};
    if (frame.size() < static_cast<size_t>(KeyFrameOffset::Data)) return mic;
    std::fill(frame.begin() + KeyFrameOffset::Mic, frame.begin() + KeyFrameOffset::Mic + 16, 0);
    const auto digest = version == kKeyVersionMd5Rc4 ? crypto::HmacMd5(kck, frame) : crypto::HmacSha1(kck, frame);
    std::copy_n(digest.begin(), 16, mic.begin());
    return mic;
}

void SetMic(std::vector<uint8_t>& frame, const std::array<uint8_t, 16>& mic) {
    std::copy(mic.begin(), mic.end(), frame.begin() + KeyFrameOffset::Mic);
}

}  // namespace hxsim
