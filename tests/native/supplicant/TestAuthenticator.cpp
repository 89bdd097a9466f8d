#include "TestAuthenticator.h"

#include <algorithm>

#include "sim/dot1x/core/Crypto.h"

namespace suptest {
namespace {

uint16_t Big16(std::span<const uint8_t> p, size_t at) { return static_cast<uint16_t>(p[at] << 8 | p[at + 1]); }

uint64_t Big64(std::span<const uint8_t> p, size_t at) {
    uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i) v = v << 8 | p[at + i];
    return v;
}

void PutBig16(Bytes& b, size_t at, size_t v) {
    b[at] = static_cast<uint8_t>(v >> 8);
    b[at + 1] = static_cast<uint8_t>(v);
}

// The pairwise key expansion written out here, apart from the supplicant's own.
std::optional<hxsup::TransientKey> Expand(const std::array<uint8_t, 32>& pmk, const hxsup::MacAddress& a,
                                          const hxsup::MacAddress& b, const std::array<uint8_t, 32>& n1,
                                          const std::array<uint8_t, 32>& n2) {
    Bytes data;
    for (const auto& part : {std::min(a, b), std::max(a, b)}) data.insert(data.end(), part.begin(), part.end());
    for (const auto& part : {std::min(n1, n2), std::max(n1, n2)}) data.insert(data.end(), part.begin(), part.end());
    hxsup::TransientKey key;
    if (!hxsup::Prf80211(pmk, "Pairwise key expansion", data, key.bytes)) return std::nullopt;
    return key;
}

}  // namespace

Bytes WpaPskElement(int cipher) {
    const uint8_t suite = cipher == hxsup::Cipher::Ccmp ? 4 : 2;
    return {0xDD, 0x16, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00,  // WPA OUI, type 1, version 1
            0x00, 0x50, 0xF2, suite,                          // group cipher
            0x01, 0x00, 0x00, 0x50, 0xF2, suite,              // one pairwise cipher
            0x01, 0x00, 0x00, 0x50, 0xF2, 0x02};              // one AKM: PSK
}

Bytes RsnPskElement(int cipher) {
    const uint8_t suite = cipher == hxsup::Cipher::Ccmp ? 4 : 2;
    return {0x30, 0x14, 0x01, 0x00, 0x00, 0x0F, 0xAC, suite,  // version 1, group cipher
            0x01, 0x00, 0x00, 0x0F, 0xAC, suite,              // one pairwise cipher
            0x01, 0x00, 0x00, 0x0F, 0xAC, 0x02,               // one AKM: PSK
            0x00, 0x00};                                      // capabilities
}

TestAuthenticator::TestAuthenticator(AuthenticatorSetup setup) : setup_(std::move(setup)) {
    if (setup_.wpaElement.empty()) setup_.wpaElement = setup_.rsn ? RsnPskElement(setup_.cipher) : WpaPskElement(setup_.cipher);
    if (setup_.stationElement.empty()) setup_.stationElement = setup_.wpaElement;
    for (size_t i = 0; i < anonce_.size(); ++i) anonce_[i] = static_cast<uint8_t>(0xA0 + i);
    anonce_[0] = setup_.anonceFirstByte;
    groupKey_.resize(static_cast<size_t>(hxsup::CipherKeyLength(setup_.cipher)));
    for (size_t i = 0; i < groupKey_.size(); ++i) groupKey_[i] = static_cast<uint8_t>(0x30 + 7 * i);
}

Bytes TestAuthenticator::Frame(uint16_t info, uint16_t keyLength, std::span<const uint8_t> nonce,
                               std::span<const uint8_t> iv, std::span<const uint8_t> rsc,
                               std::span<const uint8_t> data, bool withMic) {
    Bytes b(At::Data + data.size(), 0);
    b[0] = 1;
    b[1] = 3;
    PutBig16(b, At::BodyLength, b.size() - 4);
    b[At::Descriptor] = setup_.rsn ? 2 : 254;
    PutBig16(b, At::Info, info);
    PutBig16(b, At::KeyLength, keyLength);
    ++replayCounter_;
    for (size_t i = 0; i < 8; ++i) b[At::Replay + i] = static_cast<uint8_t>(replayCounter_ >> (56 - 8 * i));
    std::copy(nonce.begin(), nonce.end(), b.begin() + At::Nonce);
    std::copy(iv.begin(), iv.end(), b.begin() + At::Iv);
    std::copy(rsc.begin(), rsc.end(), b.begin() + At::Rsc);
    PutBig16(b, At::DataLength, data.size());
    std::copy(data.begin(), data.end(), b.begin() + At::Data);
    if (withMic) Reseal(b);
    return b;
}

void TestAuthenticator::Reseal(Bytes& pdu) const {
    if (!ptk_) return;
    std::fill_n(pdu.begin() + At::Mic, 16, uint8_t{0});
    uint8_t mic[16];
    hxsup::EapolKeyMic(Version(), ptk_->Kck(), pdu, mic);
    std::copy_n(mic, 16, pdu.begin() + At::Mic);
}

bool TestAuthenticator::MicMatches(std::span<const uint8_t> pdu, std::span<const uint8_t> kck) const {
    Bytes zeroed(pdu.begin(), pdu.end());
    std::fill_n(zeroed.begin() + At::Mic, 16, uint8_t{0});
    uint8_t mic[16];
    return hxsup::EapolKeyMic(Version(), kck, zeroed, mic) && std::equal(mic, mic + 16, pdu.begin() + At::Mic);
}

Bytes TestAuthenticator::Message1() {
    const uint16_t info = static_cast<uint16_t>(Version() | 0x0008 | 0x0080);
    return Frame(info, static_cast<uint16_t>(hxsup::CipherKeyLength(setup_.cipher)), anonce_, {}, {}, {}, false);
}

bool TestAuthenticator::AcceptMessage2(std::span<const uint8_t> pdu) {
    if (pdu.size() < At::Data || Big16(pdu, At::Info) != (Version() | 0x0008 | 0x0100)) return false;
    if (pdu[At::Descriptor] != (setup_.rsn ? 2 : 254)) return false;
    if (Big64(pdu, At::Replay) != replayCounter_) return false;
    std::array<uint8_t, 32> snonce{};
    std::copy_n(pdu.begin() + At::Nonce, 32, snonce.begin());
    const auto ptk = Expand(setup_.pmk, setup_.ownAddress, setup_.station, anonce_, snonce);
    if (!ptk || !MicMatches(pdu, ptk->Kck())) return false;
    const Bytes element(pdu.begin() + At::Data, pdu.end());
    if (Big16(pdu, At::DataLength) != element.size() ||
        element != (setup_.rsn ? setup_.stationElement : setup_.wpaElement))
        return false;
    ptk_ = ptk;
    return true;
}

Bytes TestAuthenticator::Message3() {
    if (setup_.rsn) return Message3With(Message3KeyData());
    const uint16_t info = static_cast<uint16_t>(Version() | 0x0008 | 0x0040 | 0x0080 | 0x0100);
    return Frame(info, static_cast<uint16_t>(hxsup::CipherKeyLength(setup_.cipher)), anonce_, {}, {},
                 setup_.wpaElement, true);
}

Bytes TestAuthenticator::GroupKeyKde() const {
    Bytes kde{0xDD, static_cast<uint8_t>(6 + groupKey_.size()), 0x00, 0x0F, 0xAC, 0x01,
              static_cast<uint8_t>(setup_.groupKeyIndex), 0x00};
    kde.insert(kde.end(), groupKey_.begin(), groupKey_.end());
    return kde;
}

Bytes TestAuthenticator::Message3KeyData() const {
    Bytes data = setup_.wpaElement;
    const Bytes kde = GroupKeyKde();
    data.insert(data.end(), kde.begin(), kde.end());
    return data;
}

Bytes TestAuthenticator::Encrypted(Bytes plain, std::span<const uint8_t> iv) const {
    Bytes out;
    if (Version() == 1) {
        std::array<uint8_t, 32> rc4Key{};
        std::copy(iv.begin(), iv.end(), rc4Key.begin());
        const auto kek = ptk_->Kek();
        std::copy(kek.begin(), kek.end(), rc4Key.begin() + 16);
        out.resize(plain.size());
        hxsup::Rc4Skip256(rc4Key, plain, out);
        return out;
    }
    if (plain.size() % 8 != 0) plain.push_back(0xDD);
    while (plain.size() % 8 != 0) plain.push_back(0);
    hxsup::AesKeyWrap(ptk_->Kek(), plain, out);
    return out;
}

Bytes TestAuthenticator::Message3With(const Bytes& plainKeyData) {
    const uint16_t info = static_cast<uint16_t>(Version() | 0x0008 | 0x0040 | 0x0080 | 0x0100 | 0x0200 | 0x1000);
    std::array<uint8_t, 16> iv{};
    iv.fill(0x3C);
    return Frame(info, static_cast<uint16_t>(hxsup::CipherKeyLength(setup_.cipher)), anonce_, iv, setup_.groupRsc,
                 Encrypted(plainKeyData, iv), true);
}

bool TestAuthenticator::AcceptMessage4(std::span<const uint8_t> pdu) {
    const uint16_t info = static_cast<uint16_t>(Version() | 0x0008 | 0x0100 | (setup_.rsn ? 0x0200 : 0));
    return ptk_ && pdu.size() == At::Data && Big16(pdu, At::Info) == info &&
           Big64(pdu, At::Replay) == replayCounter_ && MicMatches(pdu, ptk_->Kck());
}

Bytes TestAuthenticator::GroupMessage1() {
    std::array<uint8_t, 16> iv{};
    if (setup_.rsn) {
        iv.fill(0x5C);
        const uint16_t info = static_cast<uint16_t>(Version() | 0x0080 | 0x0100 | 0x0200 | 0x1000);
        return Frame(info, static_cast<uint16_t>(groupKey_.size()), {}, iv, setup_.groupRsc,
                     Encrypted(GroupKeyKde(), iv), true);
    }
    const uint16_t info =
        static_cast<uint16_t>(Version() | setup_.groupKeyIndex << 4 | 0x0080 | 0x0100 | 0x0200);
    Bytes data;
    if (Version() == 1) {
        for (size_t i = 0; i < iv.size(); ++i) iv[i] = static_cast<uint8_t>(0xC0 + i);
        std::array<uint8_t, 32> rc4Key{};
        std::copy(iv.begin(), iv.end(), rc4Key.begin());
        const auto kek = ptk_->Kek();
        std::copy(kek.begin(), kek.end(), rc4Key.begin() + 16);
        data.resize(groupKey_.size());
        hxsup::Rc4Skip256(rc4Key, groupKey_, data);
    } else {
        hxsup::AesKeyWrap(ptk_->Kek(), groupKey_, data);
    }
    return Frame(info, static_cast<uint16_t>(groupKey_.size()), {}, iv, setup_.groupRsc, data, true);
}

bool TestAuthenticator::AcceptGroupMessage2(std::span<const uint8_t> pdu) {
    const uint16_t index = setup_.rsn ? 0 : static_cast<uint16_t>(setup_.groupKeyIndex << 4);
    const uint16_t info = static_cast<uint16_t>(Version() | index | 0x0100 | 0x0200);
    return ptk_ && pdu.size() == At::Data && Big16(pdu, At::Info) == info &&
           Big64(pdu, At::Replay) == replayCounter_ && MicMatches(pdu, ptk_->Kck());
}

Bytes TestAuthenticator::PairwiseKey() const {
    if (!ptk_) return {};
    const size_t length = static_cast<size_t>(hxsup::CipherKeyLength(setup_.cipher));
    return Bytes(ptk_->bytes.begin() + 32, ptk_->bytes.begin() + 32 + static_cast<std::ptrdiff_t>(length));
}

}  // namespace suptest
