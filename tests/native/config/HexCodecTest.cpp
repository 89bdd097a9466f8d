#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim/core/HexCodec.h"

namespace {

std::vector<int> Decode(const char* text, int count, int* fromText = nullptr) {
    std::vector<unsigned char> out(static_cast<size_t>(count) + 4, 0xEE);
    const int n = hxsim::HexTextToBytes(text, out.data(), count);
    if (fromText) *fromText = n;
    EXPECT_EQ(out[static_cast<size_t>(count)], 0xEE) << "wrote past the count for " << text;
    return std::vector<int>(out.begin(), out.begin() + count);
}

TEST(HexTextToBytes, ReadsSeparatedUnseparatedAndEitherCase) {
    const struct { const char* text; int count; std::vector<int> bytes; int fromText; } cases[] = {
        {"01 02 0A FF", 4, {1, 2, 10, 255}, 4},
        {"01020aff", 4, {1, 2, 10, 255}, 4},
        {"ab CD eF", 3, {0xAB, 0xCD, 0xEF}, 3},
        {"01 02 03", 2, {1, 2}, 2},                 // count shorter than the text
        {"01 02", 5, {1, 2, 0, 0, 0}, 2},           // longer: zeros after the text
        {"", 3, {0, 0, 0}, 0},
        {"  7f", 1, {0x7F}, 1},                     // leading spaces
        {"ABC", 2, {0xAB, 0x0C}, 2},                // a lone last digit is a byte
        {"12 G4 56", 3, {0x12, 0, 0}, 1},           // anything else ends the text
        {"1-2", 2, {1, 0}, 1},
    };
    for (const auto& c : cases) {
        int fromText = -99;
        EXPECT_EQ(Decode(c.text, c.count, &fromText), c.bytes) << c.text;
        EXPECT_EQ(fromText, c.fromText) << c.text;
    }
}

TEST(HexTextToBytes, RefusesNullAndNegativeCounts) {
    unsigned char out[2];
    EXPECT_EQ(hxsim::HexTextToBytes(nullptr, out, 2), -1);
    EXPECT_EQ(hxsim::HexTextToBytes("00", nullptr, 2), -1);
    EXPECT_EQ(hxsim::HexTextToBytes("00", out, -1), -1);
}

TEST(BytesToHexText, SeparatedFormHasASpaceBetweenBytes) {
    const unsigned char bytes[] = {0x00, 0x0C, 0xF1, 0x12, 0x34, 0x56};
    char text[3 * 6];
    EXPECT_EQ(hxsim::BytesToHexText(bytes, text, 6, true), 17);
    EXPECT_STREQ(text, "00 0C F1 12 34 56");
    EXPECT_EQ(hxsim::BytesToHexText(bytes, text, 3, false), 6);
    EXPECT_STREQ(text, "000CF1");
    EXPECT_EQ(hxsim::BytesToHexText(bytes, text, 0, true), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(hxsim::BytesToHexText(nullptr, text, 1, true), -1);
}

TEST(HexCodec, RoundTripsEveryByteValue) {
    std::vector<unsigned char> bytes(256);
    for (int i = 0; i < 256; ++i) bytes[static_cast<size_t>(i)] = static_cast<unsigned char>(i);
    std::string text(3 * 256, '\0');
    for (bool separated : {true, false}) {
        hxsim::BytesToHexText(bytes.data(), text.data(), 256, separated);
        std::vector<unsigned char> back(256);
        EXPECT_EQ(hxsim::HexTextToBytes(text.c_str(), back.data(), 256), 256);
        EXPECT_EQ(back, bytes);
    }
}

}  // namespace
