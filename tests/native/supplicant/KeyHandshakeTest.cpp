// The WPA key handshakes of the supplicant core against the test authenticator: keys
// agree and are installed after the confirming reply; every frame that fails a check is
// dropped without a reply, without a key and without moving the handshake on.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "TestAuthenticator.h"
#include "TestSupport.h"
#include "sim/dot1x/core/PassphraseKey.h"
#include "sim/dot1x/core/Supplicant.h"

namespace {

using hxsup::FrameVerdict;
using hxsup::KeyKind;
namespace At = suptest::At;
using suptest::Bytes;

std::array<uint8_t, 32> Psk(const char* passphrase, const std::string& ssid) {
    std::array<uint8_t, 32> key{};
    EXPECT_EQ(hxsup::DerivePassphraseKey(passphrase, ssid.c_str(), static_cast<int>(ssid.size()), 4096, key.data(), 32), 0);
    return key;
}

struct Installed {
    hxsup::NegotiatedKey key;
    size_t framesSentBefore;
};

class Station {
public:
    Station(int cipher, const std::array<uint8_t, 32>& pmk,
            const hxsup::MacAddress& address = suptest::AuthenticatorSetup{}.station, bool rsn = false) {
        hxsup::NegotiationSettings s;
        s.ownAddress = address;
        s.pmk = pmk;
        s.runConstant.fill(0x5A);
        s.wpaElement = rsn ? suptest::RsnPskElement(cipher) : suptest::WpaPskElement(cipher);
        if (rsn) s.stationElement = suptest::RsnPskElement(cipher);
        s.pairwiseCipher = cipher;
        s.groupCipher = cipher;
        ready = supplicant.InitKeyNegotiation(std::make_unique<suptest::ScriptedPort>(log), s);
    }

    // Delivers one frame and runs one step; the verdict on it.
    FrameVerdict Deliver(const Bytes& frame) {
        log.inbound.push_back(frame);
        const auto verdict = supplicant.RunKeyNegotiationStep([this](const hxsup::NegotiatedKey& key) {
            installed.push_back({key, log.sent.size()});
        });
        EXPECT_TRUE(verdict.has_value());
        return verdict.value_or(FrameVerdict::Malformed);
    }
    const Bytes& LastSent() const { return log.sent.back(); }

    suptest::PortLog log;
    hxsup::Supplicant supplicant;
    std::vector<Installed> installed;
    bool ready = false;
};

// A change to a genuine frame, whether the authenticator seals it again, and the verdict.
struct TamperCase {
    const char* what;
    void (*change)(Bytes&);
    bool reseal;
    FrameVerdict verdict;
};

struct CipherCase {
    const char* name;
    int cipher;
    size_t keyLength;
};

class KeyHandshakeTest : public testing::TestWithParam<CipherCase> {
protected:
    KeyHandshakeTest() : ap_(ApSetup()), station_(GetParam().cipher, Psk("correct horse", "HX-WPA")) {
        ap_address_ = suptest::AuthenticatorSetup{}.ownAddress;
    }

    static suptest::AuthenticatorSetup ApSetup() {
        suptest::AuthenticatorSetup setup;
        setup.pmk = Psk("correct horse", "HX-WPA");
        setup.cipher = GetParam().cipher;
        return setup;
    }

    void StartAndAnswerMessage1() {
        ASSERT_TRUE(station_.ready);
        ASSERT_TRUE(station_.supplicant.StartEapol(ap_address_));
        ASSERT_EQ(station_.Deliver(ap_.Message1()), FrameVerdict::Answered);
        ASSERT_TRUE(ap_.AcceptMessage2(station_.LastSent()));
    }

    void CompletePairwise() {
        StartAndAnswerMessage1();
        ASSERT_EQ(station_.Deliver(ap_.Message3()), FrameVerdict::Answered);
        ASSERT_TRUE(ap_.AcceptMessage4(station_.LastSent()));
    }

    suptest::TestAuthenticator ap_;
    Station station_;
    hxsup::MacAddress ap_address_{};
};

TEST_P(KeyHandshakeTest, JoinsAndInstallsTheAuthenticatorsKeysAfterConfirmingThem) {
    CompletePairwise();
    ASSERT_EQ(station_.installed.size(), 1u);
    const auto& pairwise = station_.installed[0];
    EXPECT_EQ(pairwise.key.kind, KeyKind::Pairwise);
    EXPECT_EQ(pairwise.key.index, 0);
    EXPECT_EQ(pairwise.key.rsc, (std::array<uint8_t, 8>{}));
    EXPECT_EQ(pairwise.key.key.size(), GetParam().keyLength);
    EXPECT_EQ(pairwise.key.key, ap_.PairwiseKey());
    EXPECT_EQ(pairwise.framesSentBefore, station_.log.sent.size()) << "message 4 must leave before the key is set";

    ASSERT_EQ(station_.Deliver(ap_.GroupMessage1()), FrameVerdict::Answered);
    EXPECT_TRUE(ap_.AcceptGroupMessage2(station_.LastSent()));
    ASSERT_EQ(station_.installed.size(), 2u);
    const auto& group = station_.installed[1];
    EXPECT_EQ(group.key.kind, KeyKind::Group);
    EXPECT_EQ(group.key.index, ap_.GroupKeyIndex());
    EXPECT_EQ(group.key.rsc, ap_.GroupRsc());
    EXPECT_EQ(group.key.key, ap_.GroupKey());
    EXPECT_EQ(group.framesSentBefore, station_.log.sent.size());
    EXPECT_TRUE(station_.supplicant.Handshake()->GroupKeyInstalled());
}

TEST_P(KeyHandshakeTest, KeysAgreeWhicheverAddressAndNonceSortFirst) {
    const hxsup::MacAddress low{0x00, 0x01, 0x02, 0x03, 0x04, 0x05}, high{0xF0, 0x01, 0x02, 0x03, 0x04, 0x05};
    for (const bool stationFirst : {true, false}) {
        for (const uint8_t anonceFirstByte : {uint8_t{0x00}, uint8_t{0xFF}}) {
            suptest::AuthenticatorSetup setup = ApSetup();
            setup.station = stationFirst ? low : high;
            setup.ownAddress = stationFirst ? high : low;
            setup.anonceFirstByte = anonceFirstByte;
            suptest::TestAuthenticator ap(setup);
            Station station(GetParam().cipher, setup.pmk, setup.station);
            ASSERT_TRUE(station.supplicant.StartEapol(setup.ownAddress));
            ASSERT_EQ(station.Deliver(ap.Message1()), FrameVerdict::Answered);
            EXPECT_TRUE(ap.AcceptMessage2(station.LastSent())) << stationFirst << " " << int{anonceFirstByte};
            ASSERT_EQ(station.Deliver(ap.Message3()), FrameVerdict::Answered);
            ASSERT_EQ(station.installed.size(), 1u);
            EXPECT_EQ(station.installed[0].key.key, ap.PairwiseKey());
        }
    }
}

TEST_P(KeyHandshakeTest, ARepeatedMessage1KeepsTheSnonceSoEitherAnswerCompletes) {
    ASSERT_TRUE(station_.supplicant.StartEapol(ap_address_));
    const Bytes first = ap_.Message1();
    const Bytes again = ap_.Message1();  // the access point sent it again before our answer came
    ASSERT_EQ(station_.Deliver(first), FrameVerdict::Answered);
    const Bytes answerToFirst = station_.LastSent();
    ASSERT_EQ(station_.Deliver(again), FrameVerdict::Answered);
    EXPECT_TRUE(std::equal(answerToFirst.begin() + At::Nonce, answerToFirst.begin() + At::Nonce + 32,
                           station_.LastSent().begin() + At::Nonce));
    ASSERT_TRUE(ap_.AcceptMessage2(station_.LastSent()));
    ASSERT_EQ(station_.Deliver(ap_.Message3()), FrameVerdict::Answered);
    EXPECT_EQ(station_.installed.at(0).key.key, ap_.PairwiseKey());
}

TEST_P(KeyHandshakeTest, AskedToStartItSendsEapolStart) {
    ASSERT_TRUE(station_.supplicant.StartEapol(ap_address_));
    ASSERT_EQ(station_.log.sent.size(), 1u);
    EXPECT_EQ(station_.log.sent[0], (Bytes{1, 1, 0, 0}));
}

TEST_P(KeyHandshakeTest, WrongPassphraseInstallsNothing) {
    Station wrong(GetParam().cipher, Psk("wrong horse", "HX-WPA"));
    ASSERT_TRUE(wrong.supplicant.StartEapol(ap_address_));
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_EQ(wrong.Deliver(ap_.Message1()), FrameVerdict::Answered);
        EXPECT_FALSE(ap_.AcceptMessage2(wrong.LastSent())) << "attempt " << attempt;
    }
    EXPECT_TRUE(wrong.installed.empty());
}

TEST_P(KeyHandshakeTest, TamperedMessage3IsDroppedAndTheGenuineOneStillWorks) {
    StartAndAnswerMessage1();
    const TamperCase cases[] = {
        {"MIC byte flipped", [](Bytes& f) { f[At::Mic + 3] ^= 0x40; }, false, FrameVerdict::BadMic},
        {"replay counter raised", [](Bytes& f) { f[At::Replay + 7] += 5; }, false, FrameVerdict::BadMic},
        {"element changed", [](Bytes& f) { f[At::Data + 11] ^= 0x06; }, true, FrameVerdict::ElementMismatch},
        {"element missing", [](Bytes& f) { f.resize(At::Data); f[At::DataLength + 1] = 0; f[3] = 95; }, true,
         FrameVerdict::ElementMismatch},
        {"ANonce changed", [](Bytes& f) { f[At::Nonce] ^= 1; }, true, FrameVerdict::NonceMismatch},
        {"key length wrong", [](Bytes& f) { f[At::KeyLength + 1] = 5; }, true, FrameVerdict::BadKeyLength},
        {"key data length past the body", [](Bytes& f) { f[At::DataLength + 1] += 1; }, true,
         FrameVerdict::Malformed},
        {"last byte cut off", [](Bytes& f) { f.pop_back(); }, false, FrameVerdict::Malformed},
        {"RSN descriptor", [](Bytes& f) { f[At::Descriptor] = 2; }, true, FrameVerdict::NotWpaDescriptor},
        {"other descriptor version", [](Bytes& f) { f[At::Info + 1] ^= 0x03; }, true,
         FrameVerdict::UnexpectedVersion},
        {"request bit", [](Bytes& f) { f[At::Info] |= 0x08; }, true, FrameVerdict::UnexpectedMessage},
        {"no ack", [](Bytes& f) { f[At::Info + 1] &= 0x7F; }, true, FrameVerdict::UnexpectedMessage},
    };
    for (const auto& c : cases) {
        Bytes frame = ap_.Message3();
        c.change(frame);
        if (c.reseal) ap_.Reseal(frame);
        const size_t sentBefore = station_.log.sent.size();
        EXPECT_EQ(station_.Deliver(frame), c.verdict) << c.what;
        EXPECT_EQ(station_.log.sent.size(), sentBefore) << c.what << ": answered";
        EXPECT_TRUE(station_.installed.empty()) << c.what << ": installed a key";
    }
    ASSERT_EQ(station_.Deliver(ap_.Message3()), FrameVerdict::Answered);
    EXPECT_TRUE(ap_.AcceptMessage4(station_.LastSent()));
    ASSERT_EQ(station_.installed.size(), 1u);
    EXPECT_EQ(station_.installed[0].key.key, ap_.PairwiseKey());
}

TEST_P(KeyHandshakeTest, ReplayedFramesAreDroppedAndRepeatsDoNotReinstall) {
    CompletePairwise();
    const Bytes group = ap_.GroupMessage1();
    ASSERT_EQ(station_.Deliver(group), FrameVerdict::Answered);
    ASSERT_EQ(station_.installed.size(), 2u);

    const size_t sent = station_.log.sent.size();
    EXPECT_EQ(station_.Deliver(group), FrameVerdict::Replayed);
    EXPECT_EQ(station_.log.sent.size(), sent);

    // A message 3 sent again with a new counter is answered, but its key is in use already.
    ASSERT_EQ(station_.Deliver(ap_.Message3()), FrameVerdict::Answered);
    EXPECT_TRUE(ap_.AcceptMessage4(station_.LastSent()));
    ASSERT_EQ(station_.Deliver(ap_.GroupMessage1()), FrameVerdict::Answered);
    EXPECT_EQ(station_.installed.size(), 2u);
}

TEST_P(KeyHandshakeTest, AReplayedMessage3IsDropped) {
    StartAndAnswerMessage1();
    const Bytes message3 = ap_.Message3();
    ASSERT_EQ(station_.Deliver(message3), FrameVerdict::Answered);
    EXPECT_EQ(station_.Deliver(message3), FrameVerdict::Replayed);
    EXPECT_EQ(station_.installed.size(), 1u);
}

TEST_P(KeyHandshakeTest, TamperedGroupMessagesAreDropped) {
    CompletePairwise();
    const bool aes = GetParam().cipher == hxsup::Cipher::Ccmp;
    const TamperCase cases[] = {
        {"MIC byte flipped", [](Bytes& f) { f[At::Mic] ^= 1; }, false, FrameVerdict::BadMic},
        {"key RSC changed", [](Bytes& f) { f[At::Rsc] ^= 1; }, false, FrameVerdict::BadMic},
        {"key length wrong", [](Bytes& f) { f[At::KeyLength + 1] = 13; }, true, FrameVerdict::BadKeyLength},
        {"key data cut short",
         [](Bytes& f) {
             f.resize(f.size() - 9);
             f[At::DataLength + 1] -= 9;
             f[3] -= 9;
         },
         true, FrameVerdict::BadKeyData},
        {"key data length past the body", [](Bytes& f) { f[At::DataLength + 1] += 8; }, true,
         FrameVerdict::Malformed},
    };
    for (const auto& c : cases) {
        Bytes frame = ap_.GroupMessage1();
        c.change(frame);
        if (c.reseal) ap_.Reseal(frame);
        EXPECT_EQ(station_.Deliver(frame), c.verdict) << c.what;
        EXPECT_EQ(station_.installed.size(), 1u) << c.what;
    }
    if (aes) {
        // Wrapped key bytes that fail the unwrap's integrity check.
        Bytes frame = ap_.GroupMessage1();
        frame[At::Data + 4] ^= 0x80;
        ap_.Reseal(frame);
        EXPECT_EQ(station_.Deliver(frame), FrameVerdict::BadKeyData);
        EXPECT_EQ(station_.installed.size(), 1u);
    }
    ASSERT_EQ(station_.Deliver(ap_.GroupMessage1()), FrameVerdict::Answered);
    EXPECT_EQ(station_.installed.back().key.key, ap_.GroupKey());
}

TEST_P(KeyHandshakeTest, MessagesOutOfTurnAreDropped) {
    // Without the access point's address nothing can be derived.
    EXPECT_EQ(station_.Deliver(ap_.Message1()), FrameVerdict::NoAuthenticator);
    EXPECT_TRUE(station_.log.sent.empty());
    ASSERT_TRUE(station_.supplicant.StartEapol(ap_address_));
    // No message 1 answered yet: message 3 and the group message have nothing to go on.
    EXPECT_EQ(station_.Deliver(ap_.Message3()), FrameVerdict::UnexpectedMessage);
    StartAndAnswerMessage1();
    Bytes group = ap_.GroupMessage1();  // no pairwise key installed yet
    EXPECT_EQ(station_.Deliver(group), FrameVerdict::UnexpectedMessage);
    EXPECT_TRUE(station_.installed.empty());
}

TEST_P(KeyHandshakeTest, EachStepWaitsABoundedShortTime) {
    ASSERT_TRUE(station_.ready);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(station_.supplicant.RunKeyNegotiationStep({}).has_value());
    ASSERT_EQ(station_.log.timeouts.size(), 3u);
    for (int timeout : station_.log.timeouts) {
        EXPECT_GT(timeout, 0);
        EXPECT_LE(timeout, 50);
    }
}

TEST_P(KeyHandshakeTest, AStepThatCannotReceiveStillTakesItsTime) {
    using Clock = std::chrono::steady_clock;
    const auto lasts = [](auto&& step) {
        const auto start = Clock::now();
        step();
        return Clock::now() - start;
    };
    station_.log.receiveFails = true;  // a port that fails at once must not make the caller spin
    EXPECT_GE(lasts([&] { station_.supplicant.RunKeyNegotiationStep({}); }), std::chrono::milliseconds(15));
    hxsup::Supplicant nothingSetUp;
    EXPECT_GE(lasts([&] { nothingSetUp.RunKeyNegotiationStep({}); }), std::chrono::milliseconds(15));
    EXPECT_GE(lasts([&] { nothingSetUp.RunEapStep(); }), std::chrono::milliseconds(15));
}

INSTANTIATE_TEST_SUITE_P(Ciphers, KeyHandshakeTest,
                         testing::Values(CipherCase{"Tkip", hxsup::Cipher::Tkip, 32},
                                         CipherCase{"Ccmp", hxsup::Cipher::Ccmp, 16}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeyNegotiationSetup, RefusesSettingsItCannotNegotiateWith) {
    const Bytes good = suptest::WpaPskElement(hxsup::Cipher::Tkip);
    Bytes shortLength = good;
    shortLength[1] = static_cast<uint8_t>(good.size());  // says more than there is
    Bytes otherId = good;
    otherId[0] = 0x30;
    const Bytes rsn = suptest::RsnPskElement(hxsup::Cipher::Ccmp);
    Bytes twoPairwise = rsn;
    twoPairwise[8] = 2;
    const struct { const char* what; int pairwise, group; Bytes element, station; } cases[] = {
        {"unknown pairwise cipher", 3, 8, good},
        {"unknown group cipher", 8, 0, good},
        {"no element", 8, 8, Bytes{}},
        {"element length byte past its end", 8, 8, shortLength},
        {"not a vendor element", 8, 8, otherId},
        {"RSN without the adapter's element", 16, 16, rsn, Bytes{}},
        {"RSN, the adapter's element of another group cipher", 16, 16, rsn,
         suptest::RsnPskElement(hxsup::Cipher::Tkip)},
        {"RSN, the adapter's element with two pairwise suites", 16, 16, rsn, twoPairwise},
    };
    for (const auto& c : cases) {
        suptest::PortLog log;
        hxsup::NegotiationSettings s;
        s.pairwiseCipher = c.pairwise;
        s.groupCipher = c.group;
        s.wpaElement = c.element;
        s.stationElement = c.station;
        hxsup::Supplicant supplicant;
        EXPECT_FALSE(supplicant.InitKeyNegotiation(std::make_unique<suptest::ScriptedPort>(log), s)) << c.what;
        EXPECT_EQ(supplicant.Handshake(), nullptr) << c.what;
        EXPECT_FALSE(supplicant.RunKeyNegotiationStep({}).has_value()) << c.what;
    }
}

// --- RSN (WPA2) ---------------------------------------------------------------------------

class RsnHandshakeTest : public testing::TestWithParam<CipherCase> {
protected:
    RsnHandshakeTest() : ap_(ApSetup()), station_(GetParam().cipher, ApSetup().pmk, ApSetup().station, /*rsn=*/true) {}

    static suptest::AuthenticatorSetup ApSetup() {
        suptest::AuthenticatorSetup setup;
        setup.pmk = Psk("correct horse", "HX-WPA2");
        setup.cipher = GetParam().cipher;
        setup.rsn = true;
        return setup;
    }

    void AnswerMessage1() {
        ASSERT_TRUE(station_.ready);
        ASSERT_TRUE(station_.supplicant.StartEapol(ApSetup().ownAddress));
        ASSERT_EQ(station_.Deliver(ap_.Message1()), FrameVerdict::Answered);
        ASSERT_TRUE(ap_.AcceptMessage2(station_.LastSent())) << "message 2 carries the adapter's element";
    }
    // The plain key data of message 3 with its first element replaced.
    Bytes KeyDataWithElement(const Bytes& element) const {
        Bytes data = ap_.Message3KeyData();
        data.erase(data.begin(), data.begin() + data[1] + 2);
        data.insert(data.begin(), element.begin(), element.end());
        return data;
    }

    suptest::TestAuthenticator ap_;
    Station station_;
};

TEST_P(RsnHandshakeTest, Message3DeliversBothKeysOnceAfterMessage4LeavesAndTheGroupHandshakeIsAnswered) {
    AnswerMessage1();
    ASSERT_EQ(station_.Deliver(ap_.Message3()), FrameVerdict::Answered);
    EXPECT_TRUE(ap_.AcceptMessage4(station_.LastSent()));
    ASSERT_EQ(station_.installed.size(), 2u);
    const auto& pairwise = station_.installed[0];
    EXPECT_EQ(pairwise.key.kind, KeyKind::Pairwise);
    EXPECT_EQ(pairwise.key.key, ap_.PairwiseKey());
    const auto& group = station_.installed[1];
    EXPECT_EQ(group.key.kind, KeyKind::Group);
    EXPECT_EQ(group.key.key, ap_.GroupKey());
    EXPECT_EQ(group.key.index, ap_.GroupKeyIndex());
    EXPECT_EQ(group.key.rsc, ap_.GroupRsc());
    for (const auto& key : station_.installed) EXPECT_EQ(key.framesSentBefore, station_.log.sent.size());

    ASSERT_EQ(station_.Deliver(ap_.GroupMessage1()), FrameVerdict::Answered);
    EXPECT_TRUE(ap_.AcceptGroupMessage2(station_.LastSent()));
    EXPECT_EQ(station_.installed.size(), 2u) << "the group key in use is not handed over again";
}

TEST_P(RsnHandshakeTest, EachFailedCheckOfMessage3DropsItWithoutAReplyOrAKey) {
    AnswerMessage1();
    const Bytes element = ap_.Message3KeyData();
    Bytes shortKde = KeyDataWithElement(suptest::RsnPskElement(GetParam().cipher));
    shortKde.resize(shortKde.size() - 5);
    shortKde[suptest::RsnPskElement(GetParam().cipher).size() + 1] -= 5;
    const struct { const char* what; Bytes frame; FrameVerdict verdict; } cases[] = {
        {"MIC", [&] { Bytes f = ap_.Message3(); f[At::Mic + 2] ^= 0x10; return f; }(), FrameVerdict::BadMic},
        {"key data not encrypted",
         [&] { Bytes f = ap_.Message3(); f[At::Info] &= ~0x10; ap_.Reseal(f); return f; }(), FrameVerdict::BadKeyData},
        {"no GTK KDE", ap_.Message3With(Bytes(element.begin(), element.begin() + element[1] + 2)),
         FrameVerdict::BadKeyData},
        {"GTK shorter than the group cipher's", ap_.Message3With(shortKde), FrameVerdict::BadKeyData},
    };
    const size_t sent = station_.log.sent.size();
    for (const auto& c : cases) {
        EXPECT_EQ(station_.Deliver(c.frame), c.verdict) << c.what;
        EXPECT_EQ(station_.log.sent.size(), sent) << c.what << ": answered";
        EXPECT_TRUE(station_.installed.empty()) << c.what << ": installed a key";
    }
    const Bytes genuine = ap_.Message3();
    ASSERT_EQ(station_.Deliver(genuine), FrameVerdict::Answered);
    EXPECT_EQ(station_.Deliver(genuine), FrameVerdict::Replayed);
    EXPECT_EQ(station_.installed.size(), 2u);
}

TEST_P(RsnHandshakeTest, AnotherElementInMessage3IsADowngradeThatEndsTheNegotiation) {
    AnswerMessage1();
    const size_t sent = station_.log.sent.size();
    // The survey showed CCMP (or TKIP); message 3 claims the other cipher.
    const int other = GetParam().cipher == hxsup::Cipher::Ccmp ? hxsup::Cipher::Tkip : hxsup::Cipher::Ccmp;
    EXPECT_EQ(station_.Deliver(ap_.Message3With(KeyDataWithElement(suptest::RsnPskElement(other)))),
              FrameVerdict::ElementMismatch);
    EXPECT_EQ(station_.Deliver(ap_.Message3()), FrameVerdict::Aborted);
    EXPECT_EQ(station_.Deliver(ap_.Message1()), FrameVerdict::Aborted);
    EXPECT_EQ(station_.log.sent.size(), sent) << "nothing answered after message 2";
    EXPECT_TRUE(station_.installed.empty());
}

INSTANTIATE_TEST_SUITE_P(Ciphers, RsnHandshakeTest,
                         testing::Values(CipherCase{"Tkip", hxsup::Cipher::Tkip, 32},
                                         CipherCase{"Ccmp", hxsup::Cipher::Ccmp, 16}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
