#include "sim/dot1x/core/KeyHandshake.h"

#include <algorithm>

#include "sim/dot1x/core/Crypto.h"

namespace hxsup {
namespace {

constexpr uint8_t kVendorElementId = 0xDD;

template <typename T>
bool LessBytes(const T& a, const T& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

HandshakeStep Dropped(FrameVerdict verdict) { return HandshakeStep{verdict, {}, {}}; }

// The first element of message 3's key data, when it fits.
std::span<const uint8_t> FirstElement(std::span<const uint8_t> data) {
    if (data.size() < 2 || size_t{data[1]} + 2 > data.size()) return {};
    return data.first(size_t{data[1]} + 2);
}

}  // namespace

int CipherKeyLength(int cipher) {
    switch (cipher) {
    case Cipher::Wep40: return 5;
    case Cipher::Wep104: return 13;
    case Cipher::Tkip: return 32;
    case Cipher::Ccmp: return 16;
    default: return 0;
    }
}

bool IsWellFormedWpaElement(std::span<const uint8_t> element) {
    return element.size() >= 2 && element.size() <= kMaxElementSize && element[0] == kVendorElementId &&
           size_t{element[1]} + 2 == element.size();
}

std::optional<TransientKey> DeriveTransientKey(std::span<const uint8_t, 32> pmk, const MacAddress& a,
                                               const MacAddress& b, std::span<const uint8_t, 32> nonceA,
                                               std::span<const uint8_t, 32> nonceB) {
    std::array<uint8_t, 6 + 6 + 32 + 32> data{};
    const bool aFirst = LessBytes(a, b);
    auto out = data.begin();
    out = std::copy(aFirst ? a.begin() : b.begin(), aFirst ? a.end() : b.end(), out);
    out = std::copy(aFirst ? b.begin() : a.begin(), aFirst ? b.end() : a.end(), out);
    const bool nonceAFirst = std::lexicographical_compare(nonceA.begin(), nonceA.end(), nonceB.begin(), nonceB.end());
    const auto first = nonceAFirst ? nonceA : nonceB;
    const auto second = nonceAFirst ? nonceB : nonceA;
    out = std::copy(first.begin(), first.end(), out);
    std::copy(second.begin(), second.end(), out);
    TransientKey key;
    if (!Prf80211(pmk, "Pairwise key expansion", data, key.bytes)) return std::nullopt;
    return key;
}

std::optional<KeyHandshake> KeyHandshake::Create(NegotiationSettings settings) {
    const bool pairwiseUsable = CipherKeyLength(settings.pairwiseCipher) > 0;
    const bool groupUsable = CipherKeyLength(settings.groupCipher) > 0;
    if (!pairwiseUsable || !groupUsable || !IsWellFormedWpaElement(settings.wpaElement)) return std::nullopt;
    return KeyHandshake(std::move(settings));
}

KeyHandshake::KeyHandshake(NegotiationSettings settings) : settings_(std::move(settings)) {
    // HMAC-SHA1 MICs and AES key wrap go with CCMP, HMAC-MD5 and RC4 with everything else.
    descriptorVersion_ = settings_.pairwiseCipher == Cipher::Ccmp ? 2 : 1;
}

void KeyHandshake::SetAuthenticatorAddress(const MacAddress& address) { authenticator_ = address; }

HandshakeStep KeyHandshake::HandleFrame(std::span<const uint8_t> bytes) {
    const auto received = ParseKeyFrame(bytes);
    if (!received) return Dropped(FrameVerdict::Malformed);
    const KeyFrame& f = received->frame;
    if (f.descriptorType != kWpaKeyDescriptorType) return Dropped(FrameVerdict::NotWpaDescriptor);
    if (f.DescriptorVersion() != descriptorVersion_) return Dropped(FrameVerdict::UnexpectedVersion);
    // Only the access point's three messages are for us; requests, errors and RSN-style
    // encrypted key data are not.
    if (!f.Has(KeyInfo::Ack) || (f.keyInfo & (KeyInfo::Request | KeyInfo::Error | KeyInfo::EncryptedData)))
        return Dropped(FrameVerdict::UnexpectedMessage);
    if (f.Has(KeyInfo::Pairwise)) {
        if (!f.Has(KeyInfo::Mic) && !f.Has(KeyInfo::Install)) return OnPairwiseMessage1(*received);
        if (f.Has(KeyInfo::Mic) && f.Has(KeyInfo::Install)) return OnPairwiseMessage3(*received);
        return Dropped(FrameVerdict::UnexpectedMessage);
    }
    if (f.Has(KeyInfo::Mic)) return OnGroupMessage1(*received);
    return Dropped(FrameVerdict::UnexpectedMessage);
}

bool KeyHandshake::IsReplayed(uint64_t counter) const { return verifiedCounter_ && counter <= *verifiedCounter_; }

bool KeyHandshake::MicIsValid(const ReceivedKeyFrame& received, std::span<const uint8_t> kck) const {
    std::vector<uint8_t> zeroed(received.pdu.begin(), received.pdu.end());
    std::fill_n(zeroed.begin() + kKeyMicOffset, kKeyMicSize, uint8_t{0});
    uint8_t mic[kKeyMicSize];
    if (!EapolKeyMic(descriptorVersion_, kck, zeroed, mic)) return false;
    return EqualInConstantTime(mic, received.frame.mic);
}

std::optional<std::vector<uint8_t>> KeyHandshake::Reply(const KeyFrame& to, uint16_t keyInfo,
                                                       std::span<const uint8_t> kck,
                                                       const std::array<uint8_t, 32>& nonce,
                                                       std::vector<uint8_t> data) const {
    KeyFrame frame;
    frame.keyInfo = static_cast<uint16_t>(descriptorVersion_ | keyInfo);
    frame.keyLength = to.keyLength;
    frame.replayCounter = to.replayCounter;
    frame.nonce = nonce;
    frame.data = std::move(data);
    auto pdu = BuildKeyFrame(frame);
    uint8_t mic[kKeyMicSize];
    if (!EapolKeyMic(descriptorVersion_, kck, pdu, mic)) return std::nullopt;
    std::copy_n(mic, kKeyMicSize, pdu.begin() + kKeyMicOffset);
    return pdu;
}

bool KeyHandshake::MakeNonce(std::array<uint8_t, 32>& nonce) {
    // Fresh randomness as the key, our address, the run's constant and a count as data:
    // no two nonces of a run repeat even if the random source should.
    std::array<uint8_t, 32> seed{};
    if (!RandomNonce(seed)) return false;
    std::array<uint8_t, 6 + 16 + 8> data{};
    auto out = std::copy(settings_.ownAddress.begin(), settings_.ownAddress.end(), data.begin());
    out = std::copy(settings_.runConstant.begin(), settings_.runConstant.end(), out);
    const uint64_t count = ++noncesMade_;
    for (int shift = 56; shift >= 0; shift -= 8) *out++ = static_cast<uint8_t>(count >> shift);
    return Prf80211(seed, "Init Counter", data, nonce);
}

HandshakeStep KeyHandshake::OnPairwiseMessage1(const ReceivedKeyFrame& received) {
    const KeyFrame& f = received.frame;
    if (IsReplayed(f.replayCounter)) return Dropped(FrameVerdict::Replayed);
    if (!authenticator_) return Dropped(FrameVerdict::NoAuthenticator);

    // A repeated message 1 of the same handshake gets the same SNonce back.
    std::array<uint8_t, 32> snonce = snonce_;
    if (!anonce_ || *anonce_ != f.nonce) {
        if (!MakeNonce(snonce)) return Dropped(FrameVerdict::CryptoFailure);
    }
    const auto ptk = DeriveTransientKey(settings_.pmk, *authenticator_, settings_.ownAddress, f.nonce, snonce);
    if (!ptk) return Dropped(FrameVerdict::CryptoFailure);

    auto pdu = Reply(f, KeyInfo::Pairwise | KeyInfo::Mic, ptk->Kck(), snonce, settings_.wpaElement);
    if (!pdu) return Dropped(FrameVerdict::CryptoFailure);

    // Message 1 carries no MIC: it moves no counter, it only starts a candidate key.
    anonce_ = f.nonce;
    snonce_ = snonce;
    candidate_ = ptk;
    return HandshakeStep{FrameVerdict::Answered, std::move(*pdu), {}};
}

HandshakeStep KeyHandshake::OnPairwiseMessage3(const ReceivedKeyFrame& received) {
    const KeyFrame& f = received.frame;
    if (!candidate_ || !anonce_) return Dropped(FrameVerdict::UnexpectedMessage);
    if (IsReplayed(f.replayCounter)) return Dropped(FrameVerdict::Replayed);
    if (f.nonce != *anonce_) return Dropped(FrameVerdict::NonceMismatch);
    if (!MicIsValid(received, candidate_->Kck())) return Dropped(FrameVerdict::BadMic);
    const int keyLength = CipherKeyLength(settings_.pairwiseCipher);
    if (f.keyLength != keyLength) return Dropped(FrameVerdict::BadKeyLength);
    const auto element = FirstElement(f.data);
    if (!std::equal(element.begin(), element.end(), settings_.wpaElement.begin(), settings_.wpaElement.end()))
        return Dropped(FrameVerdict::ElementMismatch);

    auto pdu = Reply(f, static_cast<uint16_t>(KeyInfo::Pairwise | KeyInfo::Mic | (f.keyInfo & KeyInfo::Secure)),
                     candidate_->Kck());
    if (!pdu) return Dropped(FrameVerdict::CryptoFailure);

    verifiedCounter_ = f.replayCounter;
    HandshakeStep step{FrameVerdict::Answered, std::move(*pdu), {}};
    // A repeated message 3 is answered again, but the key in use is not installed twice.
    if (!installedPtk_ || installedPtk_->bytes != candidate_->bytes) {
        installedPtk_ = candidate_;
        NegotiatedKey key;
        const auto temporal = std::span(installedPtk_->bytes).subspan(32, static_cast<size_t>(keyLength));
        key.key.assign(temporal.begin(), temporal.end());
        key.kind = KeyKind::Pairwise;
        step.keys.push_back(std::move(key));
    }
    return step;
}

HandshakeStep KeyHandshake::OnGroupMessage1(const ReceivedKeyFrame& received) {
    const KeyFrame& f = received.frame;
    if (!installedPtk_) return Dropped(FrameVerdict::UnexpectedMessage);
    if (IsReplayed(f.replayCounter)) return Dropped(FrameVerdict::Replayed);
    if (!MicIsValid(received, installedPtk_->Kck())) return Dropped(FrameVerdict::BadMic);
    const size_t keyLength = static_cast<size_t>(CipherKeyLength(settings_.groupCipher));
    if (f.keyLength != keyLength) return Dropped(FrameVerdict::BadKeyLength);

    std::vector<uint8_t> groupKey;
    if (descriptorVersion_ == 1) {
        if (f.data.size() < keyLength) return Dropped(FrameVerdict::BadKeyData);
        std::array<uint8_t, 32> rc4Key{};
        std::copy(f.iv.begin(), f.iv.end(), rc4Key.begin());
        const auto kek = installedPtk_->Kek();
        std::copy(kek.begin(), kek.end(), rc4Key.begin() + 16);
        groupKey.resize(f.data.size());
        if (!Rc4Skip256(rc4Key, f.data, groupKey)) return Dropped(FrameVerdict::CryptoFailure);
    } else {
        if (!AesKeyUnwrap(installedPtk_->Kek(), f.data, groupKey) || groupKey.size() < keyLength)
            return Dropped(FrameVerdict::BadKeyData);
    }
    groupKey.resize(keyLength);

    auto pdu = Reply(f, static_cast<uint16_t>((f.keyInfo & KeyInfo::IndexMask) | KeyInfo::Mic | KeyInfo::Secure),
                     installedPtk_->Kck());
    if (!pdu) return Dropped(FrameVerdict::CryptoFailure);

    verifiedCounter_ = f.replayCounter;
    HandshakeStep step{FrameVerdict::Answered, std::move(*pdu), {}};
    if (installedGtk_ != groupKey || installedGtkIndex_ != f.KeyIndex()) {
        NegotiatedKey key;
        key.rsc = f.rsc;
        key.key = groupKey;
        key.index = f.KeyIndex();
        key.kind = KeyKind::Group;
        step.keys.push_back(std::move(key));
        installedGtk_ = std::move(groupKey);
        installedGtkIndex_ = f.KeyIndex();
    }
    return step;
}

}  // namespace hxsup
