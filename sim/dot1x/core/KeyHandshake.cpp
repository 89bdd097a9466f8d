#include "sim/dot1x/core/KeyHandshake.h"

#include <algorithm>

#include "sim/dot1x/core/Crypto.h"

namespace hxsup {
namespace {

constexpr uint8_t kVendorElementId = 0xDD, kRsnElementId = 48;
constexpr uint8_t kRsnOui[3] = {0x00, 0x0F, 0xAC};
constexpr uint8_t kGroupKeyKdeType = 1;

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

// The cipher code of an RSN suite at `at` (OUI 00:0F:AC, type 2 TKIP or 4 CCMP), else 0.
int RsnCipherAt(std::span<const uint8_t> e, size_t at) {
    if (at + 4 > e.size() || !std::equal(kRsnOui, kRsnOui + 3, e.begin() + static_cast<std::ptrdiff_t>(at))) return 0;
    return e[at + 3] == 2 ? Cipher::Tkip : e[at + 3] == 4 ? Cipher::Ccmp : 0;
}

// Both elements begin with version 1 and the group suite; the station's names then one
// pairwise suite.
constexpr size_t kGroupSuiteAt = 4, kPairwiseCountAt = 8, kPairwiseSuiteAt = 10;

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

bool IsRsnElement(std::span<const uint8_t> element) {
    return element.size() >= 4 && element.size() <= kMaxElementSize && element[0] == kRsnElementId &&
           size_t{element[1]} + 2 == element.size() && element[2] == 1 && element[3] == 0;
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
    if (IsRsnElement(settings.wpaElement)) {
        // RSN runs with the suites the adapter associated with.
        const auto& station = settings.stationElement;
        const int group = RsnCipherAt(settings.wpaElement, kGroupSuiteAt);
        if (!IsRsnElement(station) || group == 0 || RsnCipherAt(station, kGroupSuiteAt) != group ||
            station.size() < kPairwiseSuiteAt + 4 || station[kPairwiseCountAt] != 1 || station[kPairwiseCountAt + 1] != 0)
            return std::nullopt;
        settings.pairwiseCipher = RsnCipherAt(station, kPairwiseSuiteAt);
        settings.groupCipher = group;
        if (settings.pairwiseCipher == 0) return std::nullopt;
        return KeyHandshake(std::move(settings));
    }
    const bool pairwiseUsable = CipherKeyLength(settings.pairwiseCipher) > 0;
    const bool groupUsable = CipherKeyLength(settings.groupCipher) > 0;
    if (!pairwiseUsable || !groupUsable || !IsWellFormedWpaElement(settings.wpaElement)) return std::nullopt;
    return KeyHandshake(std::move(settings));
}

KeyHandshake::KeyHandshake(NegotiationSettings settings) : settings_(std::move(settings)) {
    rsn_ = IsRsnElement(settings_.wpaElement);
    descriptorType_ = rsn_ ? kRsnKeyDescriptorType : kWpaKeyDescriptorType;
    // HMAC-SHA1 MICs and AES key wrap go with CCMP, HMAC-MD5 and RC4 with everything else.
    descriptorVersion_ = settings_.pairwiseCipher == Cipher::Ccmp ? 2 : 1;
}

void KeyHandshake::SetAuthenticatorAddress(const MacAddress& address) { authenticator_ = address; }

HandshakeStep KeyHandshake::HandleFrame(std::span<const uint8_t> bytes) {
    const auto received = ParseKeyFrame(bytes);
    if (!received) return Dropped(FrameVerdict::Malformed);
    if (aborted_) return Dropped(FrameVerdict::Aborted);
    const KeyFrame& f = received->frame;
    if (f.descriptorType != descriptorType_) return Dropped(FrameVerdict::NotWpaDescriptor);
    if (f.DescriptorVersion() != descriptorVersion_) return Dropped(FrameVerdict::UnexpectedVersion);
    // Only the access point's three messages are for us; requests and errors are not, nor
    // encrypted key data in WPA.
    const uint16_t notForUs = KeyInfo::Request | KeyInfo::Error | (rsn_ ? 0 : KeyInfo::EncryptedData);
    if (!f.Has(KeyInfo::Ack) || (f.keyInfo & notForUs)) return Dropped(FrameVerdict::UnexpectedMessage);
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
    frame.descriptorType = descriptorType_;
    frame.keyInfo = static_cast<uint16_t>(descriptorVersion_ | keyInfo);
    frame.keyLength = rsn_ ? 0 : to.keyLength;
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

    auto pdu = Reply(f, KeyInfo::Pairwise | KeyInfo::Mic, ptk->Kck(), snonce,
                     rsn_ ? settings_.stationElement : settings_.wpaElement);
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
    std::vector<uint8_t> keyData;
    if (rsn_ && (!f.Has(KeyInfo::EncryptedData) || !DecryptKeyData(f, candidate_->Kek(), keyData)))
        return Dropped(FrameVerdict::BadKeyData);
    const auto element = FirstElement(rsn_ ? std::span<const uint8_t>(keyData) : std::span<const uint8_t>(f.data));
    if (!std::equal(element.begin(), element.end(), settings_.wpaElement.begin(), settings_.wpaElement.end())) {
        // RSN: not the element the survey showed, under a valid MIC: a downgrade.
        aborted_ = rsn_;
        return Dropped(FrameVerdict::ElementMismatch);
    }
    NegotiatedKey groupKey;
    groupKey.kind = KeyKind::Group;
    groupKey.rsc = f.rsc;
    if (rsn_ && !GroupKeyOf(keyData, groupKey)) return Dropped(FrameVerdict::BadKeyData);

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
    if (rsn_ && (installedGtk_ != groupKey.key || installedGtkIndex_ != groupKey.index)) {
        installedGtk_ = groupKey.key;
        installedGtkIndex_ = groupKey.index;
        step.keys.push_back(std::move(groupKey));
    }
    return step;
}

HandshakeStep KeyHandshake::OnGroupMessage1(const ReceivedKeyFrame& received) {
    const KeyFrame& f = received.frame;
    if (!installedPtk_) return Dropped(FrameVerdict::UnexpectedMessage);
    if (IsReplayed(f.replayCounter)) return Dropped(FrameVerdict::Replayed);
    if (!MicIsValid(received, installedPtk_->Kck())) return Dropped(FrameVerdict::BadMic);
    NegotiatedKey key;
    key.kind = KeyKind::Group;
    key.rsc = f.rsc;
    if (rsn_) {
        // The key and its index come in a GTK KDE, encrypted.
        std::vector<uint8_t> keyData;
        if (!f.Has(KeyInfo::EncryptedData) || !DecryptKeyData(f, installedPtk_->Kek(), keyData) ||
            !GroupKeyOf(keyData, key))
            return Dropped(FrameVerdict::BadKeyData);
    } else {
        const size_t keyLength = static_cast<size_t>(CipherKeyLength(settings_.groupCipher));
        if (f.keyLength != keyLength) return Dropped(FrameVerdict::BadKeyLength);
        if (f.data.size() < keyLength || !DecryptKeyData(f, installedPtk_->Kek(), key.key) ||
            key.key.size() < keyLength)
            return Dropped(FrameVerdict::BadKeyData);
        key.key.resize(keyLength);
        key.index = f.KeyIndex();
    }

    // WPA names the key index in the reply's key information; RSN leaves it 0.
    const uint16_t index = rsn_ ? 0 : static_cast<uint16_t>(f.keyInfo & KeyInfo::IndexMask);
    auto pdu = Reply(f, static_cast<uint16_t>(index | KeyInfo::Mic | KeyInfo::Secure), installedPtk_->Kck());
    if (!pdu) return Dropped(FrameVerdict::CryptoFailure);

    verifiedCounter_ = f.replayCounter;
    HandshakeStep step{FrameVerdict::Answered, std::move(*pdu), {}};
    if (installedGtk_ != key.key || installedGtkIndex_ != key.index) {
        installedGtk_ = key.key;
        installedGtkIndex_ = key.index;
        step.keys.push_back(std::move(key));
    }
    return step;
}

bool KeyHandshake::DecryptKeyData(const KeyFrame& frame, std::span<const uint8_t> kek,
                                  std::vector<uint8_t>& out) const {
    if (frame.data.empty()) return false;
    if (descriptorVersion_ == 1) {
        std::array<uint8_t, 32> rc4Key{};
        std::copy(frame.iv.begin(), frame.iv.end(), rc4Key.begin());
        std::copy(kek.begin(), kek.end(), rc4Key.begin() + 16);
        out.resize(frame.data.size());
        return Rc4Skip256(rc4Key, frame.data, out);
    }
    return AesKeyUnwrap(kek, frame.data, out);
}

bool KeyHandshake::GroupKeyOf(std::span<const uint8_t> keyData, NegotiatedKey& key) const {
    const size_t length = static_cast<size_t>(CipherKeyLength(settings_.groupCipher));
    size_t at = 0;
    // Elements and KDEs; the key wrap's padding (0xDD, then zeros) ends them.
    while (at + 2 <= keyData.size() && !(keyData[at] == kVendorElementId && keyData[at + 1] == 0)) {
        const size_t size = size_t{keyData[at + 1]} + 2;
        if (at + size > keyData.size()) return false;
        const auto kde = keyData.subspan(at, size);
        if (kde[0] == kVendorElementId && size >= 8 && std::equal(kRsnOui, kRsnOui + 3, kde.begin() + 2) &&
            kde[5] == kGroupKeyKdeType) {
            if (size - 8 != length) return false;
            key.index = kde[6] & 0x03;
            key.key.assign(kde.begin() + 8, kde.end());
            return true;
        }
        at += size;
    }
    return false;
}

}  // namespace hxsup
