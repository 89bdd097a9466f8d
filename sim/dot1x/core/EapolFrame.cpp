#include "sim/dot1x/core/EapolFrame.h"

#include <algorithm>

namespace hxsup {
namespace {

uint16_t ReadBig16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

void PutBig16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

template <size_t N>
void ReadArray(const uint8_t*& p, std::array<uint8_t, N>& to) {
    std::copy_n(p, N, to.begin());
    p += N;
}

template <size_t N>
void PutArray(std::vector<uint8_t>& out, const std::array<uint8_t, N>& from) {
    out.insert(out.end(), from.begin(), from.end());
}

}  // namespace

std::optional<EapolPdu> ParseEapol(std::span<const uint8_t> bytes) {
    if (bytes.size() < kEapolHeaderSize) return std::nullopt;
    const size_t bodyLength = ReadBig16(bytes.data() + 2);
    if (bodyLength > bytes.size() - kEapolHeaderSize) return std::nullopt;
    EapolPdu pdu;
    pdu.version = bytes[0];
    pdu.type = bytes[1];
    pdu.body = bytes.subspan(kEapolHeaderSize, bodyLength);
    pdu.pdu = bytes.first(kEapolHeaderSize + bodyLength);
    return pdu;
}

std::vector<uint8_t> BuildEapol(EapolType type, std::span<const uint8_t> body) {
    std::vector<uint8_t> out;
    out.reserve(kEapolHeaderSize + body.size());
    out.push_back(kEapolVersion);
    out.push_back(static_cast<uint8_t>(type));
    PutBig16(out, static_cast<uint16_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::optional<ReceivedKeyFrame> ParseKeyFrame(std::span<const uint8_t> bytes) {
    const auto eapol = ParseEapol(bytes);
    if (!eapol || eapol->type != static_cast<uint8_t>(EapolType::Key)) return std::nullopt;
    const auto body = eapol->body;
    if (body.size() < kKeyBodyFixedSize) return std::nullopt;
    const size_t dataLength = ReadBig16(body.data() + kKeyBodyFixedSize - 2);
    if (dataLength > body.size() - kKeyBodyFixedSize) return std::nullopt;

    ReceivedKeyFrame received;
    KeyFrame& f = received.frame;
    const uint8_t* p = body.data();
    f.eapolVersion = eapol->version;
    f.descriptorType = *p++;
    f.keyInfo = ReadBig16(p);
    p += 2;
    f.keyLength = ReadBig16(p);
    p += 2;
    f.replayCounter = 0;
    for (int i = 0; i < 8; ++i) f.replayCounter = f.replayCounter << 8 | *p++;
    ReadArray(p, f.nonce);
    ReadArray(p, f.iv);
    ReadArray(p, f.rsc);
    ReadArray(p, f.id);
    ReadArray(p, f.mic);
    p += 2;
    f.data.assign(p, p + dataLength);
    received.pdu = eapol->pdu;
    return received;
}

std::vector<uint8_t> BuildKeyFrame(const KeyFrame& f) {
    std::vector<uint8_t> body;
    body.reserve(kKeyBodyFixedSize + f.data.size());
    body.push_back(f.descriptorType);
    PutBig16(body, f.keyInfo);
    PutBig16(body, f.keyLength);
    for (int shift = 56; shift >= 0; shift -= 8) body.push_back(static_cast<uint8_t>(f.replayCounter >> shift));
    PutArray(body, f.nonce);
    PutArray(body, f.iv);
    PutArray(body, f.rsc);
    PutArray(body, f.id);
    PutArray(body, f.mic);
    PutBig16(body, static_cast<uint16_t>(f.data.size()));
    body.insert(body.end(), f.data.begin(), f.data.end());
    auto pdu = BuildEapol(EapolType::Key, body);
    pdu[0] = f.eapolVersion;
    return pdu;
}

}  // namespace hxsup
