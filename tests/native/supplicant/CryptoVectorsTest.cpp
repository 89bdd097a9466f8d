// The supplicant's cryptography against published vectors: the IEEE 802.11i pass phrase
// mapping and PRF, RFC 2202 HMACs (the two EAPOL-Key MICs), RFC 3394 key wrap, and RC4
// with its first 256 bytes of key stream skipped.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "auth/Dot1xApi.h"
#include "sim/dot1x/core/Crypto.h"
#include "sim/dot1x/core/PassphraseKey.h"

namespace {

using suptest::FromHex;
using suptest::ToHex;

TEST(PassphraseKey, MatchesThe80211iVectorsThroughTheExport) {
    const struct { std::string passphrase, ssid, psk; } cases[] = {
        {"password", "IEEE", "f42c6fc52df0ebef9ebb4b90b38a5f902e83fe1b135a70e23aed762e9710a12e"},
        {"ThisIsAPassword", "ThisIsASSID", "0dc0d6eb90555ed6419756b9a15ec3e3209b63df707dd508d14581f8982721af"},
        {std::string(32, 'a'), std::string(32, 'Z'),
         "becb93866bb8c3832cb777c2f559807c8c59afcb6eae734885001300a981cc62"},
    };
    for (const auto& c : cases) {
        unsigned char key[32] = {};
        ASSERT_EQ(Get_PSK_Key_32byte(c.passphrase.c_str(), c.ssid.c_str(), static_cast<int>(c.ssid.size()), 4096,
                                     key, 32),
                  0)
            << c.passphrase;
        EXPECT_EQ(ToHex(key, 32), c.psk) << c.passphrase;
    }
}

TEST(PassphraseKey, RefusesArgumentsOutsideTheMappingAndWritesNothing) {
    const char* ssid = "IEEE";
    const struct { const char* passphrase; const char* ssid; int ssidLength, iterations, keyLength; bool nullKey; } cases[] = {
        {nullptr, ssid, 4, 4096, 32, false},
        {"password", nullptr, 4, 4096, 32, false},
        {"password", ssid, 4, 4096, 32, true},
        {"password", ssid, 0, 4096, 32, false},
        {"password", ssid, 33, 4096, 32, false},
        {"password", ssid, -1, 4096, 32, false},
        {"password", ssid, 4, 0, 32, false},
        {"password", ssid, 4, 4096, 0, false},
        {"password", ssid, 4, 4096, 65, false},
    };
    for (const auto& c : cases) {
        unsigned char key[80];
        std::fill(std::begin(key), std::end(key), 0xEE);
        EXPECT_EQ(hxsup::DerivePassphraseKey(c.passphrase, c.ssid, c.ssidLength, c.iterations,
                                             c.nullKey ? nullptr : key, c.keyLength),
                  -1)
            << c.ssidLength << " " << c.iterations << " " << c.keyLength;
        EXPECT_TRUE(std::all_of(std::begin(key), std::end(key), [](unsigned char b) { return b == 0xEE; }));
    }
}

TEST(PassphraseKey, SaltIsTheGivenSsidLengthNotTheText) {
    unsigned char whole[32], cut[32], expected[32];
    ASSERT_EQ(hxsup::DerivePassphraseKey("password", "IEEEXYZ", 4, 4096, cut, 32), 0);
    ASSERT_EQ(hxsup::DerivePassphraseKey("password", "IEEE", 4, 4096, expected, 32), 0);
    ASSERT_EQ(hxsup::DerivePassphraseKey("password", "IEEEXYZ", 7, 4096, whole, 32), 0);
    EXPECT_EQ(ToHex(cut, 32), ToHex(expected, 32));
    EXPECT_NE(ToHex(whole, 32), ToHex(expected, 32));
}

TEST(Prf80211, MatchesThePublishedVectors) {
    const struct { std::vector<uint8_t> key; std::string label; std::vector<uint8_t> data; std::string out; } cases[] = {
        {std::vector<uint8_t>(20, 0x0b), "prefix", {'H', 'i', ' ', 'T', 'h', 'e', 'r', 'e'},
         "bcd4c650b30b9684951829e0d75f9d54b862175ed9f00606e17d8da35402ffee"
         "75df78c3d31e0f889f012120c0862beb67753e7439ae242edb8373698356cf5a"},
        {{'J', 'e', 'f', 'e'}, "prefix", FromHex("7768617420646f2079612077616e7420666f72206e6f7468696e673f"),
         "51f4de5b33f249adf81aeb713a3c20f4fe631446fabdfa58244759ae58ef9009"
         "a99abf4eac2ca5fa87e692c440eb40023e7babb206d61de7b92f41529092b8fc"},
        {std::vector<uint8_t>(20, 0xaa), "prefix", std::vector<uint8_t>(50, 0xdd),
         "e1ac546ec4cb636f9976487be5c86be17a0252ca5d8d8df12cfb0473525249ce"
         "9dd8d177ead710bc9b590547239107aef7b4abd43d87f0a68f1cbd9e2b6f7607"},
        // PRF-384: the first 48 bytes of a longer run, here with another label.
        {{'J', 'e', 'f', 'e'}, "prefix-2", FromHex("7768617420646f2079612077616e7420666f72206e6f7468696e673f"),
         "47c4908e30c947521ad20be9053450ecbea23d3aa604b77326d8b3825ff7475c06f51fb9c5313d1e9f90d897d134b72e"},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> out(c.out.size() / 2);
        ASSERT_TRUE(hxsup::Prf80211(c.key, c.label, c.data, out));
        EXPECT_EQ(ToHex(out), c.out) << c.label;
    }
}

TEST(EapolKeyMic, IsHmacMd5ForVersion1AndTruncatedHmacSha1ForVersion2) {
    const auto hiThere = FromHex("4869205468657265");
    uint8_t mic[16];
    ASSERT_TRUE(hxsup::EapolKeyMic(1, std::vector<uint8_t>(16, 0x0b), hiThere, mic));
    EXPECT_EQ(ToHex(mic, 16), "9294727a3638bb1c13f48ef8158bfc9d");
    ASSERT_TRUE(hxsup::EapolKeyMic(2, std::vector<uint8_t>(20, 0x0b), hiThere, mic));
    EXPECT_EQ(ToHex(mic, 16), "b617318655057264e28bc0b6fb378c8e");
    EXPECT_FALSE(hxsup::EapolKeyMic(3, std::vector<uint8_t>(16, 0x0b), hiThere, mic));
}

TEST(GroupKeyWrap, AesKeyWrapFollowsRfc3394BothWays) {
    const auto kek = FromHex("000102030405060708090A0B0C0D0E0F");
    const auto plain = FromHex("00112233445566778899AABBCCDDEEFF");
    const auto wrapped = FromHex("1FA68B0A8112B447AEF34BD8FB5A7B829D3E862371D2CFE5");
    std::vector<uint8_t> out;
    ASSERT_TRUE(hxsup::AesKeyWrap(kek, plain, out));
    EXPECT_EQ(out, wrapped);
    ASSERT_TRUE(hxsup::AesKeyUnwrap(kek, wrapped, out));
    EXPECT_EQ(out, plain);
}

TEST(GroupKeyWrap, AesKeyUnwrapRefusesDamagedOrMisSizedInput) {
    const auto kek = FromHex("000102030405060708090A0B0C0D0E0F");
    auto damaged = FromHex("1FA68B0A8112B447AEF34BD8FB5A7B829D3E862371D2CFE5");
    damaged[10] ^= 1;
    const std::vector<std::vector<uint8_t>> inputs = {
        damaged, std::vector<uint8_t>(16, 1), std::vector<uint8_t>(25, 1), {},
    };
    for (const auto& in : inputs) {
        std::vector<uint8_t> out{1, 2, 3};
        EXPECT_FALSE(hxsup::AesKeyUnwrap(kek, in, out)) << in.size();
        EXPECT_TRUE(out.empty());
    }
    std::vector<uint8_t> out;
    EXPECT_FALSE(hxsup::AesKeyUnwrap(FromHex("0001"), FromHex("1FA68B0A8112B447AEF34BD8FB5A7B829D3E862371D2CFE5"), out));
}

TEST(GroupKeyWrap, Rc4SkipsTheFirst256BytesOfKeyStream) {
    // Key 01..20 (IV then KEK), plain text 00..1f; the expected bytes come from a plain
    // textbook RC4 run for 288 bytes of which the last 32 were used.
    std::vector<uint8_t> key(32), plain(32), out(32);
    for (size_t i = 0; i < 32; ++i) {
        key[i] = static_cast<uint8_t>(i + 1);
        plain[i] = static_cast<uint8_t>(i);
    }
    ASSERT_TRUE(hxsup::Rc4Skip256(key, plain, out));
    EXPECT_EQ(ToHex(out), "02e0e5066f0a643e08406e29983399b9d3d95af953e4d7e69735b2f7d93257b8");
    std::vector<uint8_t> back(32);
    ASSERT_TRUE(hxsup::Rc4Skip256(key, out, back));
    EXPECT_EQ(back, plain);
}

}  // namespace
