// The supplicant's key handshakes against an access point of this target's own, built on
// the simulator's cryptography. The input chooses the messages and their fields (which
// message, key information bits, replay counters, key lengths, nonces, key data, the group
// key and its index); the access point seals each with a valid MIC under the test key, so
// that message 3, the group key messages and their key data are reached, not only the MIC
// check. Checked on every frame:
// - a dropped frame leaves no reply and no key; a frame with a MIC the access point did
//   not make is never answered;
// - frames with a MIC are answered only with rising replay counters, and every answer
//   echoes the counter and carries a MIC under the key both sides derived;
// - a pairwise key is the temporal key the access point derived, a group key sent as the
//   access point wrapped it is that key under its index, and every key has its cipher's
//   length;
// - no key is handed over twice in a row.
//
// Input: one byte for the ciphers (bit 0: CCMP pairwise, else TKIP; bits 1-2: group cipher
// the same, WEP-40, WEP-104, the other one), then up to 12 messages, each an op byte
// (bits 0-1: message 1, message 3, group message, raw bytes; bit 2: message 1 with a new
// ANonce, message 3 with the secure bit, group key index bits with bit 3; bit 4: the last
// replay counter again; bit 5: key data from the input; bit 6: no seal, the MIC from the
// input; bit 7: tweaks follow) and what it asks for. Input that runs out reads as zeros.
#include <algorithm>
#include <array>
#include <cstdint>
#include <gcrypt.h>
#include <optional>
#include <vector>

#include "sim/core/ApCrypto.h"
#include "sim/core/EapolKeyFrame.h"
#include "sim/dot1x/core/EapolFrame.h"
#include "sim/dot1x/core/KeyHandshake.h"

namespace {

using Bytes = std::vector<uint8_t>;
using hxsup::FrameVerdict;
namespace Info = hxsup::KeyInfo;

constexpr hxsup::MacAddress kAccessPoint = {0x00, 0x0A, 0xEB, 0x11, 0x22, 0x33};
constexpr hxsup::MacAddress kStation = {0x00, 0x0E, 0x2E, 0x44, 0x55, 0x66};
const Bytes kPmk(32, 0x42);
const Bytes kElement = {0xDD, 0x16, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02,
                        0x01, 0x00, 0x00, 0x50, 0xF2, 0x02, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02};
constexpr int kMaxMessages = 12;

[[noreturn]] void Fault() { __builtin_trap(); }

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    bool Empty() const { return p_ == end_; }
    uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
    uint64_t Big(int bytes) {
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v = v << 8 | Byte();
        return v;
    }
    template <size_t N>
    void Fill(std::array<uint8_t, N>& to) {
        for (auto& b : to) b = Byte();
    }
    Bytes Take(size_t n) {
        Bytes v(n);
        for (auto& b : v) b = Byte();
        return v;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

// PRF-512 of the pairwise key expansion, from the simulator's code, not the supplicant's.
Bytes TransientKey(const std::array<uint8_t, 32>& anonce, const std::array<uint8_t, 32>& snonce) {
    const Bytes a(kAccessPoint.begin(), kAccessPoint.end()), s(kStation.begin(), kStation.end());
    const Bytes an(anonce.begin(), anonce.end()), sn(snonce.begin(), snonce.end());
    Bytes data = std::min(a, s);
    for (const Bytes* part : {&std::max(a, s), &std::min(an, sn), &std::max(an, sn)})
        data.insert(data.end(), part->begin(), part->end());
    return hxsim::crypto::Prf(kPmk, "Pairwise key expansion", data, 64);
}

// The MIC over the PDU as the supplicant will read it; nothing when there is no room for one.
std::optional<std::array<uint8_t, 16>> MicOf(int version, const Bytes& kck, const Bytes& bytes) {
    const auto eapol = hxsup::ParseEapol(bytes);
    if (!eapol || eapol->pdu.size() < hxsup::kEapolHeaderSize + hxsup::kKeyBodyFixedSize) return std::nullopt;
    return hxsim::KeyFrameMic(version, kck, Bytes(eapol->pdu.begin(), eapol->pdu.end()));
}

bool MicHolds(int version, const Bytes& kck, const Bytes& bytes) {
    const auto mic = MicOf(version, kck, bytes);
    return mic && std::equal(mic->begin(), mic->end(), bytes.begin() + hxsup::kKeyMicOffset);
}

struct AccessPoint {
    int pairwise, group, version;
    uint64_t counter = 0;
    int anonces = 0;
    std::array<uint8_t, 32> anonce{};
    Bytes candidate, installed;  // transient keys: the last message 2's, the last message 3's
    std::optional<uint64_t> lastAnsweredMic;
    std::optional<hxsup::NegotiatedKey> lastPairwise, lastGroup;
};

struct Message {
    Bytes bytes;
    Bytes kck;                     // what it was sealed with
    bool sealed = false;
    std::optional<Bytes> groupKey;  // wrapped in it untouched
};

void NewAnonce(AccessPoint& ap) {
    ++ap.anonces;
    for (size_t i = 0; i < ap.anonce.size(); ++i) ap.anonce[i] = static_cast<uint8_t>(ap.anonces * 31 + i);
}

Bytes GroupKeyFrom(uint8_t seed, int length) {
    Bytes key(static_cast<size_t>(length));
    for (size_t i = 0; i < key.size(); ++i) key[i] = static_cast<uint8_t>(seed + 0x3B * i);
    return key;
}

Bytes WrapGroupKey(const AccessPoint& ap, const Bytes& key, hxsup::KeyFrame& f) {
    const Bytes kek = ap.installed.empty() ? Bytes(16, 0) : Bytes(ap.installed.begin() + 16, ap.installed.begin() + 32);
    if (ap.version == 1) return hxsim::crypto::Rc4Skip256(Bytes(f.iv.begin(), f.iv.end()), kek, key);
    Bytes padded = key;
    padded.resize(std::max<size_t>(16, (key.size() + 7) / 8 * 8), 0);
    return hxsim::crypto::AesKeyWrap(kek, padded);
}

// The frame an op byte asks for, sealed unless asked not to.
Message Build(AccessPoint& ap, Reader& in, uint8_t op) {
    const int kind = op & 3;
    Message m;
    if (kind == 3) {
        m.bytes = in.Take(in.Byte() * 2u);
        return m;
    }
    hxsup::KeyFrame f;
    f.replayCounter = (op & 0x10) ? ap.counter : ++ap.counter;
    f.iv[15] = static_cast<uint8_t>(ap.counter);
    if (kind == 0) {
        if ((op & 0x04) || ap.anonces == 0) NewAnonce(ap);
        f.keyInfo = static_cast<uint16_t>(ap.version | Info::Pairwise | Info::Ack);
        f.keyLength = static_cast<uint16_t>(hxsup::CipherKeyLength(ap.pairwise));
        f.nonce = ap.anonce;
        m.kck = ap.candidate.empty() ? Bytes(16, 0) : Bytes(ap.candidate.begin(), ap.candidate.begin() + 16);
    } else if (kind == 1) {
        f.keyInfo = static_cast<uint16_t>(ap.version | Info::Pairwise | Info::Install | Info::Ack | Info::Mic |
                                          ((op & 0x04) ? Info::Secure : 0));
        f.keyLength = static_cast<uint16_t>(hxsup::CipherKeyLength(ap.pairwise));
        f.nonce = ap.anonce;
        f.data = kElement;
        m.kck = ap.candidate.empty() ? Bytes(16, 0) : Bytes(ap.candidate.begin(), ap.candidate.begin() + 16);
    } else {
        const int index = ((op >> 2) & 3) ^ 1;
        f.keyInfo = static_cast<uint16_t>(ap.version | (index << Info::IndexShift) | Info::Ack | Info::Mic |
                                          Info::Secure);
        f.keyLength = static_cast<uint16_t>(hxsup::CipherKeyLength(ap.group));
        const Bytes key = GroupKeyFrom(in.Byte(), f.keyLength);
        f.data = WrapGroupKey(ap, key, f);
        m.groupKey = key;
        m.kck = ap.installed.empty() ? Bytes(16, 0) : Bytes(ap.installed.begin(), ap.installed.begin() + 16);
    }
    if (op & 0x20) {
        f.data = in.Take(in.Byte());
        m.groupKey.reset();
    }
    if (op & 0x40) in.Fill(f.mic);

    std::optional<uint8_t> cut;
    Bytes padding;
    if (op & 0x80) {
        m.groupKey.reset();
        const uint8_t tweaks = in.Byte();
        if (tweaks & 0x01) f.keyInfo ^= static_cast<uint16_t>(in.Big(2));
        if (tweaks & 0x02) f.keyLength = static_cast<uint16_t>(in.Big(2));
        if (tweaks & 0x04) f.descriptorType = in.Byte();
        if (tweaks & 0x08) f.replayCounter = in.Big(8);
        if (tweaks & 0x10) {
            in.Fill(f.iv);
            in.Fill(f.rsc);
            in.Fill(f.nonce);
        }
        m.bytes = hxsup::BuildKeyFrame(f);
        if (tweaks & 0x20) {  // byte edits anywhere, lengths included, before the seal
            for (int n = in.Byte() % 4 + 1; n > 0; --n) {
                const size_t at = in.Big(2) % m.bytes.size();
                m.bytes[at] = in.Byte();
            }
        }
        if (tweaks & 0x40) padding = in.Take(in.Byte());
        if (tweaks & 0x80) cut = in.Byte();
    } else {
        m.bytes = hxsup::BuildKeyFrame(f);
    }
    if (!(op & 0x40)) {
        if (const auto mic = MicOf(ap.version, m.kck, m.bytes)) {
            std::copy(mic->begin(), mic->end(), m.bytes.begin() + hxsup::kKeyMicOffset);
            m.sealed = true;
        }
    }
    m.bytes.insert(m.bytes.end(), padding.begin(), padding.end());
    if (cut && *cut < m.bytes.size()) m.bytes.resize(*cut);
    return m;
}

bool SameKey(const std::optional<hxsup::NegotiatedKey>& a, const hxsup::NegotiatedKey& b) {
    return a && a->key == b.key && a->index == b.index;
}

// Everything the checks above say about one answered frame.
void CheckAnswer(AccessPoint& ap, const Message& m, const hxsup::HandshakeStep& step) {
    const auto sent = hxsup::ParseKeyFrame(m.bytes);
    const auto reply = hxsup::ParseKeyFrame(step.reply);
    if (!sent || !reply || step.keys.size() > 1) Fault();
    const hxsup::KeyFrame& in = sent->frame;
    const hxsup::KeyFrame& out = reply->frame;
    if (out.replayCounter != in.replayCounter || !out.Has(Info::Mic) || out.DescriptorVersion() != ap.version) Fault();

    const bool message2 = out.Has(Info::Pairwise) && out.nonce != std::array<uint8_t, 32>{};
    if (in.Has(Info::Mic)) {
        if (!m.sealed) Fault();
        if (ap.lastAnsweredMic && in.replayCounter <= *ap.lastAnsweredMic) Fault();
        ap.lastAnsweredMic = in.replayCounter;
    }
    if (message2) {
        if (in.Has(Info::Mic) || !step.keys.empty()) Fault();
        ap.candidate = TransientKey(in.nonce, out.nonce);
        ap.anonce = in.nonce;
    } else if (out.Has(Info::Pairwise)) {
        ap.installed = ap.candidate;
    }
    if (!out.Has(Info::Pairwise) && (!out.Has(Info::Secure) || out.KeyIndex() != in.KeyIndex())) Fault();
    const Bytes& kck = message2 ? ap.candidate : m.kck;
    if (kck.size() < 16 || !MicHolds(ap.version, Bytes(kck.begin(), kck.begin() + 16), step.reply)) Fault();

    for (const auto& key : step.keys) {
        if (key.kind == hxsup::KeyKind::Pairwise) {
            const size_t length = static_cast<size_t>(hxsup::CipherKeyLength(ap.pairwise));
            if (!out.Has(Info::Pairwise) || key.key.size() != length || ap.installed.size() != 64 ||
                !std::equal(key.key.begin(), key.key.end(), ap.installed.begin() + 32) || SameKey(ap.lastPairwise, key))
                Fault();
            ap.lastPairwise = key;
        } else {
            if (out.Has(Info::Pairwise) || key.key.size() != static_cast<size_t>(hxsup::CipherKeyLength(ap.group)) ||
                key.index != in.KeyIndex() || key.rsc != in.rsc || SameKey(ap.lastGroup, key) ||
                (m.groupKey && key.key != *m.groupKey))
                Fault();
            ap.lastGroup = key;
        }
    }
}

}  // namespace

// Random numbers from the system's generator, without the pool of libgcrypt's own: that pool
// gathers timings and resource figures at every hash once it exists, a system call or two
// per hash, which in a sandbox that traps system calls costs more than the handshake itself.
// Must come before anything starts the library.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gcry_control(GCRYCTL_SET_PREFERRED_RNG_TYPE, GCRY_RNG_TYPE_SYSTEM);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    const uint8_t ciphers = in.Byte();
    AccessPoint ap;
    ap.pairwise = (ciphers & 1) ? hxsup::Cipher::Ccmp : hxsup::Cipher::Tkip;
    const int groups[] = {ap.pairwise, hxsup::Cipher::Wep40, hxsup::Cipher::Wep104,
                          (ciphers & 1) ? hxsup::Cipher::Tkip : hxsup::Cipher::Ccmp};
    ap.group = groups[(ciphers >> 1) & 3];
    ap.version = ap.pairwise == hxsup::Cipher::Ccmp ? 2 : 1;

    hxsup::NegotiationSettings settings;
    settings.ownAddress = kStation;
    std::copy(kPmk.begin(), kPmk.end(), settings.pmk.begin());
    settings.wpaElement = kElement;
    settings.pairwiseCipher = ap.pairwise;
    settings.groupCipher = ap.group;
    auto handshake = hxsup::KeyHandshake::Create(settings);
    if (!handshake) Fault();
    handshake->SetAuthenticatorAddress(kAccessPoint);

    for (int i = 0; i < kMaxMessages && !in.Empty(); ++i) {
        const Message m = Build(ap, in, in.Byte());
        const auto step = handshake->HandleFrame(m.bytes);
        if (step.verdict != FrameVerdict::Answered) {
            if (!step.reply.empty() || !step.keys.empty()) Fault();
            continue;
        }
        CheckAnswer(ap, m, step);
    }
    return 0;
}
