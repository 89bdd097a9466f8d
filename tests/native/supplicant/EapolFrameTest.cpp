// The EAPOL and EAPOL-Key codec: what it accepts, and that no cut or lie in a length
// gets it to read past the bytes it was given.
#include <gtest/gtest.h>

#include "TestAuthenticator.h"
#include "sim/dot1x/core/EapolFrame.h"

namespace {

using hxsup::KeyFrame;
namespace At = suptest::At;

KeyFrame SampleFrame() {
    KeyFrame f;
    f.keyInfo = 0x0109;
    f.keyLength = 32;
    f.replayCounter = 0x0102030405060708ULL;
    for (size_t i = 0; i < 32; ++i) f.nonce[i] = static_cast<uint8_t>(i);
    f.iv.fill(0x11);
    f.rsc.fill(0x22);
    f.mic.fill(0x33);
    f.data = {0xDD, 0x02, 0xAB, 0xCD};
    return f;
}

TEST(EapolKeyCodec, BuildsTheWireLayoutAndReadsItBack) {
    const auto pdu = hxsup::BuildKeyFrame(SampleFrame());
    ASSERT_EQ(pdu.size(), 99u + 4);
    EXPECT_EQ(pdu[0], 1);
    EXPECT_EQ(pdu[1], 3);
    EXPECT_EQ(pdu[2] << 8 | pdu[3], 99);
    EXPECT_EQ(pdu[At::Descriptor], 254);
    EXPECT_EQ(pdu[At::Info + 1], 0x09);
    EXPECT_EQ(pdu[At::Replay], 0x01);
    EXPECT_EQ(pdu[At::Replay + 7], 0x08);
    EXPECT_EQ(pdu[At::Mic], 0x33);
    EXPECT_EQ(pdu[At::DataLength + 1], 4);

    const auto parsed = hxsup::ParseKeyFrame(pdu);
    ASSERT_TRUE(parsed);
    const auto& f = parsed->frame;
    EXPECT_EQ(f.keyInfo, 0x0109);
    EXPECT_EQ(f.DescriptorVersion(), 1);
    EXPECT_TRUE(f.Has(hxsup::KeyInfo::Pairwise | hxsup::KeyInfo::Mic));
    EXPECT_EQ(f.keyLength, 32);
    EXPECT_EQ(f.replayCounter, 0x0102030405060708ULL);
    EXPECT_EQ(f.nonce, SampleFrame().nonce);
    EXPECT_EQ(f.rsc, SampleFrame().rsc);
    EXPECT_EQ(f.data, SampleFrame().data);
    EXPECT_EQ(parsed->pdu.size(), pdu.size());
}

TEST(EapolKeyCodec, PaddingAfterTheBodyIsNotPartOfThePdu) {
    auto pdu = hxsup::BuildKeyFrame(SampleFrame());
    const size_t real = pdu.size();
    pdu.insert(pdu.end(), 20, 0x00);
    const auto parsed = hxsup::ParseKeyFrame(pdu);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->pdu.size(), real);
}

TEST(EapolKeyCodec, EveryTruncationIsRefused) {
    const auto pdu = hxsup::BuildKeyFrame(SampleFrame());
    for (size_t cut = 0; cut < pdu.size(); ++cut) {
        // A heap copy of exactly the cut length, so a read past it is caught by ASan.
        const std::vector<uint8_t> truncated(pdu.begin(), pdu.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(hxsup::ParseKeyFrame(truncated)) << "cut at " << cut;
    }
}

TEST(EapolKeyCodec, LengthsThatLieAreRefused) {
    const struct { const char* what; size_t at; uint16_t value; } cases[] = {
        {"key data longer than the body", At::DataLength, 5},
        {"key data of 64 KiB", At::DataLength, 0xFFFF},
        {"body longer than the bytes", At::BodyLength, 100},
        {"body shorter than the fixed part", At::BodyLength, 94},
    };
    for (const auto& c : cases) {
        auto pdu = hxsup::BuildKeyFrame(SampleFrame());
        pdu[c.at] = static_cast<uint8_t>(c.value >> 8);
        pdu[c.at + 1] = static_cast<uint8_t>(c.value);
        EXPECT_FALSE(hxsup::ParseKeyFrame(pdu)) << c.what;
    }
}

TEST(EapolKeyCodec, OnlyKeyPacketsAreKeyFrames) {
    auto pdu = hxsup::BuildKeyFrame(SampleFrame());
    for (uint8_t type : {0, 1, 2, 4}) {
        pdu[1] = type;
        EXPECT_FALSE(hxsup::ParseKeyFrame(pdu)) << int{type};
    }
}

TEST(EapolCodec, StartIsAnEmptyBody) {
    const auto start = hxsup::BuildEapol(hxsup::EapolType::Start, {});
    EXPECT_EQ(start, (std::vector<uint8_t>{1, 1, 0, 0}));
    const auto parsed = hxsup::ParseEapol(start);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->type, 1);
    EXPECT_TRUE(parsed->body.empty());
}

}  // namespace
