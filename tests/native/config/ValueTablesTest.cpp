#include <gtest/gtest.h>

#include "config/ValueTables.h"
#include "tests/fakes/FakeAdapterLibrary.h"

namespace hx {
namespace {

SupportedRates Rates(std::initializer_list<uint8_t> list) {
    SupportedRates rates;
    size_t i = 0;
    for (uint8_t r : list) rates.rate[i++] = r;
    return rates;
}

TEST(RateLabel, OddRatesHaveOneDecimalEvenRatesNone) {
    const struct { uint8_t rate; const char* label; } cases[] = {
        {0x02, "1 Mbps"},  {0x04, "2 Mbps"},   {0x0B, "5.5 Mbps"}, {0x16, "11 Mbps"},
        {0x0C, "6 Mbps"},  {0x12, "9 Mbps"},   {0x6C, "54 Mbps"},  {0x03, "1.5 Mbps"},
    };
    for (const auto& c : cases) EXPECT_EQ(RateLabel(c.rate), c.label) << int(c.rate);
}

TEST(RateList, TextsStartWithAutoAndEndAtTheFirstZero) {
    const auto texts = RateListTexts(Rates({0x02, 0x04, 0x0B, 0x16, 0, 0x6C}));
    EXPECT_EQ(texts, (std::vector<std::string>{"Auto", "1 Mbps", "2 Mbps", "5.5 Mbps", "11 Mbps"}));
}

TEST(RateList, PositionGivesAllRatesOrOneRate) {
    const auto rates = Rates({0x02, 0x04, 0x0B, 0x16});
    EXPECT_EQ(DesiredRateForPosition(rates, 0), "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(DesiredRateForPosition(rates, -1), "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(DesiredRateForPosition(rates, 3), "0B 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(DesiredRateForPosition(rates, 1).size(), 47u);
}

TEST(RateList, DesiredRateBackToPosition) {
    test::FakeAdapterLibrary library;
    const auto rates = Rates({0x02, 0x04, 0x0B, 0x16, 0x0C, 0x12, 0x18, 0x24, 0x30, 0x48, 0x60, 0x6C});
    const struct { const char* desired; int position; } cases[] = {
        {kDefaultDesiredRate, 0},                                     // many found: Auto
        {"16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", 4},       // 11 Mbps is 4th
        {"0B", 3},                                                    // short text
        {"6C 00", 12},
        {"03 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", 0},       // unsupported: Auto
        {"03 16", 4},                                                 // one of two found
        {"", 0},
        {"00 16", 0},                                                 // the list ends at the zero
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RatePositionOfDesiredRate(library, c.desired, rates), c.position) << c.desired;
    }
    EXPECT_EQ(RatePositionOfDesiredRate(library, "04 0B", Rates({0x02, 0x04, 0x0B})), 0);
}

TEST(RateList, PositionRoundTripsForEverySingleRate) {
    test::FakeAdapterLibrary library;
    const auto rates = Rates({0x02, 0x04, 0x0B, 0x16, 0x0C, 0x6C});
    for (int k = 1; k <= 6; ++k) {
        EXPECT_EQ(RatePositionOfDesiredRate(library, DesiredRateForPosition(rates, k), rates), k);
    }
    EXPECT_EQ(RatePositionOfDesiredRate(library, DesiredRateForPosition(rates, 0), rates), 0);
}

TEST(Regions, CodeAndPositionAgree) {
    const struct { int code; int position; } cases[] = {
        {0x00, 0}, {0x10, 1}, {0x20, 2}, {0x30, 3}, {0x31, 4},
        {0x32, 5}, {0x40, 6}, {0x50, 7}, {0x35, 0}, {-1, 0}, {0x99, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(RegionPositionOfCode(c.code), c.position) << c.code;
    EXPECT_STREQ(kRegionTable[3].name, "Most of Europe/Australia");
    EXPECT_EQ(RegionCodeAtPosition(7), 0x50);
    EXPECT_EQ(RegionCodeAtPosition(-1), 0x00);
    EXPECT_EQ(RegionCodeAtPosition(8), 0x00);
}

TEST(KeyLengths, BitsBytesCodesAndPositions) {
    const struct { int bits; int expectBits, bytes, code, position; } cases[] = {
        {64, 64, 5, 0, 0}, {128, 128, 13, 1, 1}, {256, 256, 29, 2, 2},
        {100, 64, 5, 0, 0}, {40, 64, 5, 0, 0}, {-1, 64, 5, 0, 0},
    };
    for (const auto& c : cases) {
        const auto info = KeyLengthForBits(c.bits);
        EXPECT_EQ(info.bits, c.expectBits) << c.bits;
        EXPECT_EQ(info.bytes, c.bytes) << c.bits;
        EXPECT_EQ(info.bytes, info.bits / 8 - 3);
        EXPECT_EQ(info.lengthCode, c.code) << c.bits;
        EXPECT_EQ(info.position, c.position) << c.bits;
    }
    EXPECT_EQ(KeyLengthForPosition(1).bytes, 13);
    EXPECT_EQ(KeyLengthForPosition(2).bytes, 29);
    EXPECT_EQ(KeyLengthForPosition(-1).bytes, 5);
}

TEST(ListTexts, EncryptionAndAuthenticationDependOnTheNetworkType) {
    EXPECT_EQ(EncryptionListTexts(false), (std::vector<std::string>{"Disable", "WEP"}));
    EXPECT_EQ(EncryptionListTexts(true), (std::vector<std::string>{"Disable", "WEP", "TKIP", "AES"}));
    EXPECT_EQ(AuthenticationListTexts(false).size(), 3u);
    EXPECT_EQ(AuthenticationListTexts(true),
              (std::vector<std::string>{"WEP Open Authentication", "WEP Shared Authentication", "WEP Auto Switch",
                                        "WPA-PSK", "WPA2-PSK"}));
    EXPECT_STREQ(kPowerSaveTexts[2], "Fast Power Save");
    EXPECT_STREQ(kPreambleTexts[1], "Short Preamble");
}

TEST(HexText, UpperCaseSingleSpacedTrimmed) {
    const uint8_t bytes[] = {0x00, 0xAB, 0x0f, 0xFF};
    EXPECT_EQ(HexText(bytes, 4), "00 AB 0F FF");
    EXPECT_EQ(HexText(bytes, 0), "");
    EXPECT_EQ(TrimWhitespace("  a b \t\n"), "a b");
    EXPECT_EQ(TrimWhitespace(" \t "), "");
}

TEST(ChannelList, TextsFollowTheCountNotTheArray) {
    SupportedChannels channels;
    channels.channel = {10, 11, 12, 13, 14};
    channels.count = 4;
    EXPECT_EQ(ChannelListTexts(channels), (std::vector<std::string>{"10", "11", "12", "13"}));
    channels.count = 99;
    EXPECT_EQ(ChannelListTexts(channels).size(), 14u);
}

}  // namespace
}  // namespace hx
