#include "sim/core/Authenticator.h"

#include <algorithm>
#include <cstring>

#include "adapter/LittleEndian.h"
#include "sim/core/ApCrypto.h"

namespace hxsim {
namespace {

using Bytes = std::vector<uint8_t>;

int CipherKeyLength(uint8_t cipher) { return cipher == Suite::Ccmp ? 16 : 32; }

// What a WPA element says, read with every length checked.
struct WpaSuites {
    uint8_t group = 0;
    std::vector<uint8_t> pairwise, akm;
};

std::optional<WpaSuites> ReadWpaElement(const Bytes& e) {
    static constexpr uint8_t kHead[] = {0xDD, 0, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00};
    if (e.size() < 8 || e[0] != 0xDD || e[1] + 2u > e.size()) return std::nullopt;
    if (!std::equal(kHead + 2, kHead + 8, e.begin() + 2)) return std::nullopt;
    const size_t end = e[1] + 2u;
    size_t i = 8;
    auto suite = [&](uint8_t& type) {
        if (i + 4 > end || e[i] != 0x00 || e[i + 1] != 0x50 || e[i + 2] != 0xF2) return false;
        type = e[i + 3];
        i += 4;
        return true;
    };
    auto list = [&](std::vector<uint8_t>& out) {
        if (i + 2 > end) return false;
        const int n = hx::GetLe16(&e[i]);
        i += 2;
        for (int k = 0; k < n; ++k) {
            uint8_t type;
            if (!suite(type)) return false;
            out.push_back(type);
        }
        return true;
    };
    WpaSuites s;
    if (!suite(s.group) || !list(s.pairwise) || !list(s.akm)) return std::nullopt;
    return s;
}

}  // namespace

Authenticator::Authenticator(const Mac& accessPoint, const Mac& station, Bytes pmk, uint8_t pairwiseCipher,
                             uint8_t groupCipher, Bytes wpaElement, int retransmitMs,
                             std::deque<Bytes>& outbox)
    : accessPoint_(accessPoint),
      station_(station),
      pmk_(std::move(pmk)),
      pairwiseCipher_(pairwiseCipher),
      groupCipher_(groupCipher),
      wpaElement_(std::move(wpaElement)),
      retransmitMs_(retransmitMs > 0 ? retransmitMs : 1000),
      outbox_(outbox),
      version_(pairwiseCipher == Suite::Ccmp ? kKeyVersionSha1Aes : kKeyVersionMd5Rc4),
      temporalKeyLength_(CipherKeyLength(pairwiseCipher)) {
    groupKey_ = crypto::RandomBytes(CipherKeyLength(groupCipher_));
}

void Authenticator::Start(Millis now) {
    anonce_ = crypto::NonceBytes(32);
    kck_.clear();
    kek_.clear();
    temporalKey_.clear();
    phase_ = Phase::WaitMessage2;
    SendCurrent(now);
}

void Authenticator::RenewGroupKey(Millis now) {
    groupKey_ = crypto::RandomBytes(CipherKeyLength(groupCipher_));
    groupKeyIndex_ = groupKeyIndex_ == 1 ? 2 : 1;
    if (!PairwiseDone()) return;
    phase_ = Phase::WaitGroupMessage2;
    SendCurrent(now);
}

Bytes Authenticator::Sealed(EapolKeyFrame frame) const {
    Bytes bytes = EncodeKeyFrame(frame);
    if (frame.info & KeyInfo::Mic) SetMic(bytes, KeyFrameMic(version_, kck_, bytes));
    return bytes;
}

// The message the handshake waits an answer to, with the next replay counter.
void Authenticator::SendCurrent(Millis now) {
    EapolKeyFrame f;
    f.replayCounter = ++replayCounter_;
    switch (phase_) {
        case Phase::WaitMessage2:
            f.info = static_cast<uint16_t>(version_ | KeyInfo::Pairwise | KeyInfo::Ack);
            f.keyLength = static_cast<uint16_t>(temporalKeyLength_);
            std::copy(anonce_.begin(), anonce_.end(), f.nonce.begin());
            break;
        case Phase::WaitMessage4:
            f.info = static_cast<uint16_t>(version_ | KeyInfo::Pairwise | KeyInfo::Install | KeyInfo::Ack |
                                           KeyInfo::Mic);
            f.keyLength = static_cast<uint16_t>(temporalKeyLength_);
            std::copy(anonce_.begin(), anonce_.end(), f.nonce.begin());
            f.data = wpaElement_;
            break;
        case Phase::WaitGroupMessage2: {
            f.info = static_cast<uint16_t>(version_ | (groupKeyIndex_ << KeyInfo::IndexShift) | KeyInfo::Ack |
                                           KeyInfo::Mic | KeyInfo::Secure);
            f.keyLength = static_cast<uint16_t>(groupKey_.size());
            gnonce_ = crypto::NonceBytes(32);
            std::copy(gnonce_.begin(), gnonce_.end(), f.nonce.begin());
            if (version_ == kKeyVersionMd5Rc4) {
                const Bytes iv = crypto::NonceBytes(16);
                std::copy(iv.begin(), iv.end(), f.iv.begin());
                f.data = crypto::Rc4Skip256(iv, kek_, groupKey_);
            } else {
                f.data = crypto::AesKeyWrap(kek_, groupKey_);
            }
            break;
        }
        case Phase::Done:
            return;
    }
    outbox_.push_back(Sealed(f));
    lastSent_ = now;
}

bool Authenticator::ElementFits(const Bytes& element) const {
    const auto s = ReadWpaElement(element);
    if (!s) return false;
    const auto ours = ReadWpaElement(wpaElement_);
    if (!ours) return false;
    auto has = [](const std::vector<uint8_t>& list, uint8_t v) {
        return std::find(list.begin(), list.end(), v) != list.end();
    };
    return s->group == groupCipher_ && has(s->pairwise, pairwiseCipher_) && !s->akm.empty() &&
           has(ours->akm, s->akm.front());
}

void Authenticator::OnKeyFrame(const uint8_t* frame, int length, Millis now) {
    const auto f = DecodeKeyFrame(frame, length);
    if (!f || (f->info & KeyInfo::Ack) || !(f->info & KeyInfo::Mic)) return;
    if ((f->info & KeyInfo::VersionMask) != version_ || (f->info & KeyInfo::Request)) return;
    if (f->replayCounter != replayCounter_) return;  // answers an older message
    const int frameLength = 4 + ((frame[2] << 8) | frame[3]);
    const Bytes bytes(frame, frame + frameLength);
    const bool pairwise = (f->info & KeyInfo::Pairwise) != 0;

    if (phase_ == Phase::WaitMessage2 && pairwise) {
        // min(AA, SPA) | max(AA, SPA) | min(ANonce, SNonce) | max(ANonce, SNonce)
        const Bytes snonce(f->nonce.begin(), f->nonce.end());
        Bytes data(6 + 6 + 32 + 32);
        const bool apFirst = accessPoint_ < station_;
        std::copy(accessPoint_.begin(), accessPoint_.end(), data.begin() + (apFirst ? 0 : 6));
        std::copy(station_.begin(), station_.end(), data.begin() + (apFirst ? 6 : 0));
        const bool anonceFirst = anonce_ < snonce;
        std::copy(anonce_.begin(), anonce_.end(), data.begin() + (anonceFirst ? 12 : 44));
        std::copy(snonce.begin(), snonce.end(), data.begin() + (anonceFirst ? 44 : 12));
        const Bytes ptk = crypto::Prf(pmk_, "Pairwise key expansion", data, 64);
        const Bytes kck(ptk.begin(), ptk.begin() + 16);
        if (KeyFrameMic(version_, kck, bytes) != f->mic) {
            ++micFailures_;
            return;
        }
        if (!ElementFits(f->data)) {
            failure_ = "WPA element in message 2 differs from the association";
            return;
        }
        kck_ = kck;
        kek_.assign(ptk.begin() + 16, ptk.begin() + 32);
        temporalKey_.assign(ptk.begin() + 32, ptk.begin() + 32 + temporalKeyLength_);
        phase_ = Phase::WaitMessage4;
        SendCurrent(now);
        return;
    }
    if (kck_.empty() || KeyFrameMic(version_, kck_, bytes) != f->mic) {
        ++micFailures_;
        return;
    }
    if (phase_ == Phase::WaitMessage4 && pairwise) {
        phase_ = Phase::WaitGroupMessage2;
        SendCurrent(now);
    } else if (phase_ == Phase::WaitGroupMessage2 && !pairwise && (f->info & KeyInfo::Secure)) {
        phase_ = Phase::Done;
    }
}

std::optional<Millis> Authenticator::NextRetransmit() const {
    if (phase_ == Phase::Done) return std::nullopt;
    return lastSent_ + retransmitMs_;
}

void Authenticator::Advance(Millis now) {
    if (phase_ != Phase::Done && now >= lastSent_ + retransmitMs_) SendCurrent(now);
}

}  // namespace hxsim
