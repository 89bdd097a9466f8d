#include "sim/core/Authenticator.h"

#include <algorithm>
#include <cstring>

#include "sim/core/ApCrypto.h"
#include "sim/core/BeaconElements.h"

namespace hxsim {
namespace {

using Bytes = std::vector<uint8_t>;

int CipherKeyLength(uint8_t cipher) { return cipher == Suite::Ccmp ? 16 : 32; }

constexpr uint8_t kGroupKeyKdeHead[] = {0xDD, 0, 0x00, 0x0F, 0xAC, 0x01};

}  // namespace

Authenticator::Authenticator(const Mac& accessPoint, const Mac& station, Bytes pmk, uint8_t pairwiseCipher,
                             uint8_t groupCipher, KeyProtocol protocol, int retransmitMs,
                             std::deque<Bytes>& outbox)
    : accessPoint_(accessPoint),
      station_(station),
      pmk_(std::move(pmk)),
      pairwiseCipher_(pairwiseCipher),
      groupCipher_(groupCipher),
      protocol_(std::move(protocol)),
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

Bytes Authenticator::GroupKeyKde() const {
    Bytes kde(kGroupKeyKdeHead, kGroupKeyKdeHead + sizeof kGroupKeyKdeHead);
    kde[1] = static_cast<uint8_t>(4 + 2 + groupKey_.size());
    kde.push_back(static_cast<uint8_t>(groupKeyIndex_ & 3));  // key id; not a transmit key
    kde.push_back(0);
    kde.insert(kde.end(), groupKey_.begin(), groupKey_.end());
    return kde;
}

Bytes Authenticator::SealKeyData(Bytes data, EapolKeyFrame& frame) const {
    if (version_ == kKeyVersionMd5Rc4) {
        const Bytes iv = crypto::NonceBytes(16);
        std::copy(iv.begin(), iv.end(), frame.iv.begin());
        return crypto::Rc4Skip256(iv, kek_, data);
    }
    // Key wrap takes whole 8-byte blocks, at least two: 0xDD, then zeros.
    if (data.size() < 16 || data.size() % 8 != 0) {
        data.push_back(0xDD);
        while (data.size() < 16 || data.size() % 8 != 0) data.push_back(0);
    }
    return crypto::AesKeyWrap(kek_, data);
}

// The message the handshake waits an answer to, with the next replay counter.
void Authenticator::SendCurrent(Millis now) {
    EapolKeyFrame f;
    f.descriptor = protocol_.rsn ? kRsnKeyDescriptor : kWpaKeyDescriptor;
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
            if (protocol_.rsn) {
                // The network's element and the group key, encrypted; the key counts from 0.
                f.info |= KeyInfo::Secure | KeyInfo::EncryptedData;
                Bytes data = protocol_.networkElement;
                const Bytes kde = GroupKeyKde();
                data.insert(data.end(), kde.begin(), kde.end());
                f.data = SealKeyData(std::move(data), f);
                groupKeyInMessage3_ = groupKey_;
            } else {
                f.data = protocol_.networkElement;
            }
            break;
        case Phase::WaitGroupMessage2: {
            f.info = static_cast<uint16_t>(version_ | KeyInfo::Ack | KeyInfo::Mic | KeyInfo::Secure);
            f.keyLength = static_cast<uint16_t>(groupKey_.size());
            gnonce_ = crypto::NonceBytes(32);
            std::copy(gnonce_.begin(), gnonce_.end(), f.nonce.begin());
            if (protocol_.rsn) {
                f.info |= KeyInfo::EncryptedData;  // the key index travels in the KDE
                f.data = SealKeyData(GroupKeyKde(), f);
            } else if (version_ == kKeyVersionMd5Rc4) {
                f.info |= static_cast<uint16_t>(groupKeyIndex_ << KeyInfo::IndexShift);
                const Bytes iv = crypto::NonceBytes(16);
                std::copy(iv.begin(), iv.end(), f.iv.begin());
                f.data = crypto::Rc4Skip256(iv, kek_, groupKey_);
            } else {
                f.info |= static_cast<uint16_t>(groupKeyIndex_ << KeyInfo::IndexShift);
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
    if (protocol_.rsn) {
        // RSN: exactly the element of the association request, as its first element.
        const size_t size = protocol_.stationElement.size();
        return element.size() >= size && std::equal(protocol_.stationElement.begin(), protocol_.stationElement.end(),
                                                     element.begin());
    }
    const auto s = element.empty() || element[0] != ElementId::Vendor ? std::nullopt : ReadSecurityElement(element);
    const auto ours = ReadSecurityElement(protocol_.networkElement);
    if (!s || !ours) return false;
    auto has = [](const std::vector<uint8_t>& list, uint8_t v) {
        return std::find(list.begin(), list.end(), v) != list.end();
    };
    return s->groupCipher == groupCipher_ && has(s->pairwiseCiphers, pairwiseCipher_) && !s->akms.empty() &&
           has(ours->akms, s->akms.front());
}

void Authenticator::OnKeyFrame(const uint8_t* frame, int length, Millis now) {
    const auto f = DecodeKeyFrame(frame, length);
    if (!f || (f->info & KeyInfo::Ack) || !(f->info & KeyInfo::Mic)) return;
    if (f->descriptor != (protocol_.rsn ? kRsnKeyDescriptor : kWpaKeyDescriptor)) return;
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
            failure_ = protocol_.rsn ? "RSN element in message 2 differs from the association request"
                                     : "WPA element in message 2 differs from the association";
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
        // RSN: message 3 delivered the group key, unless it was renewed since.
        if (protocol_.rsn && groupKeyInMessage3_ == groupKey_) {
            phase_ = Phase::Done;
            return;
        }
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
