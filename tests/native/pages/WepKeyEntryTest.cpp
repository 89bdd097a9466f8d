#include <gtest/gtest.h>

#include <map>

#include "config/ValueTables.h"
#include "pages/WepKeyEntry.h"
#include "tests/fakes/FakeAdapterLibrary.h"

namespace hx {
namespace {

// Four key boxes and two lists, kept as plain values.
class FakeKeyView : public WepKeyView {
public:
    std::array<std::string, 4> text;
    std::array<std::string, 4> allowed;
    std::array<int, 4> limit{};
    int lengthPosition = 0, formatPosition = 0;

    std::string KeyBoxText(int i) override { return text[static_cast<size_t>(i)]; }
    void SetKeyBoxText(int i, const std::string& t) override { text[static_cast<size_t>(i)] = t; }
    void SetKeyBoxInput(int i, const std::string& a, int l) override {
        allowed[static_cast<size_t>(i)] = a;
        limit[static_cast<size_t>(i)] = l;
    }
    void ClearKeyBoxForEntry(int i) override { text[static_cast<size_t>(i)].clear(); }
    int KeyLengthPosition() override { return lengthPosition; }
    void SelectKeyLengthPosition(int p) override { lengthPosition = p; }
    int KeyFormatPosition() override { return formatPosition; }
    void SelectKeyFormatPosition(int p) override { formatPosition = p; }

    // What a user does: focus the box, then type.
    void Type(WepKeyEntry& entry, int i, const std::string& typed) {
        entry.OnKeyBoxFocus(i);
        text[static_cast<size_t>(i)] += typed;
    }
};

class WepKeyEntryTest : public ::testing::Test {
protected:
    // The store: WEPKey<bits>_<index>, with a default of counting bytes from 0x11.
    std::map<std::pair<int, int>, std::string> stored;
    std::string Stored(int index, int bits) {
        auto it = stored.find({index, bits});
        if (it != stored.end()) return it->second;
        std::vector<uint8_t> bytes;
        for (int i = 0; i < bits / 8 - 3; ++i) bytes.push_back(static_cast<uint8_t>(0x11 + i));
        return HexText(bytes.data(), static_cast<int>(bytes.size()));
    }
    test::FakeAdapterLibrary library;
    FakeKeyView view;
    WepKeyEntry entry{view, library, [this](int i, int b) { return Stored(i, b); }};
};

TEST_F(WepKeyEntryTest, MasksByFormatAndLength) {
    const struct { int bits, format; const char* mask; int limit; const char* allowed; } cases[] = {
        {64, 1, "** ** ** ** **", 10, kHexKeyCharacters},
        {128, 1, "** ** ** ** ** ** ** ** ** ** ** ** **", 26, kHexKeyCharacters},
        {256, 1, nullptr, 58, kHexKeyCharacters},
        {64, 0, "*****", 5, ""},
        {128, 0, "*************", 13, ""},
        {40, 0, "*****", 5, ""},
    };
    for (const auto& c : cases) {
        entry.Load(c.bits, c.format);
        for (int i = 0; i < 4; ++i) {
            if (c.mask) { EXPECT_EQ(view.text[static_cast<size_t>(i)], c.mask) << c.bits; }
            EXPECT_EQ(view.limit[static_cast<size_t>(i)], c.limit) << c.bits;
            EXPECT_EQ(view.allowed[static_cast<size_t>(i)], c.allowed) << c.bits;
        }
    }
    entry.Load(256, 1);
    EXPECT_EQ(view.text[0].size(), 3u * 29 - 1);
    EXPECT_EQ(view.lengthPosition, 2);
}

TEST_F(WepKeyEntryTest, UnenteredKeysComeFromTheStoreForTheSelectedLength) {
    stored[{0, 64}] = "01 02 03 04 05";
    stored[{1, 128}] = "A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD";
    entry.Load(64, 1);
    EXPECT_EQ(entry.KeyRecordText(0), "01 02 03 04 05");
    EXPECT_EQ(entry.KeyRecordText(1), "11 12 13 14 15");  // the store's default
    view.lengthPosition = 1;
    entry.SetKeyLength();
    EXPECT_EQ(entry.KeyLengthBits(), 128);
    EXPECT_EQ(entry.KeyRecordText(1), "A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD");
    EXPECT_EQ(entry.KeyRecordText(0), "11 12 13 14 15 16 17 18 19 1A 1B 1C 1D");
    EXPECT_EQ(view.text[1], "** ** ** ** ** ** ** ** ** ** ** ** **");
}

TEST_F(WepKeyEntryTest, TypedHexKeysArePaddedAndShownUpperCase) {
    entry.Load(64, 1);
    view.Type(entry, 2, "abc");
    EXPECT_EQ(entry.KeyRecordText(2), "AB C0 00 00 00");
    view.Type(entry, 3, "");
    EXPECT_EQ(entry.KeyRecordText(3), "00 00 00 00 00");
    // Focusing again keeps what was typed.
    view.text[2] = "0a0b0c0d0e";
    entry.OnKeyBoxFocus(2);
    EXPECT_EQ(view.text[2], "0a0b0c0d0e");
    entry.SetKeyFormat();  // a re-show
    EXPECT_EQ(view.text[2], "0A0B0C0D0E");
    EXPECT_EQ(view.text[0], "** ** ** ** **");
}

TEST_F(WepKeyEntryTest, AsciiKeysPadWithZerosAndLoseOuterSpaces) {
    entry.Load(128, 0);
    view.Type(entry, 0, "abc");
    EXPECT_EQ(entry.KeyRecordText(0), "61 62 63 00 00 00 00 00 00 00 00 00 00");
    entry.SetKeyFormat();
    EXPECT_EQ(view.text[0], "abc");
    view.Type(entry, 1, " ab ");
    EXPECT_EQ(entry.KeyRecordText(1), "20 61 62 20 00 00 00 00 00 00 00 00 00");
    entry.SetKeyFormat();        // shown trimmed...
    EXPECT_EQ(view.text[1], "ab");
    EXPECT_EQ(entry.KeyRecordText(1), "61 62 00 00 00 00 00 00 00 00 00 00 00");  // ...and read back so
}

TEST_F(WepKeyEntryTest, FormatChangesKeepTheBytes) {
    entry.Load(64, 1);
    view.Type(entry, 0, "4142004344");
    view.formatPosition = 0;
    entry.SetKeyFormat();
    EXPECT_EQ(view.text[0], "AB");  // up to the first zero byte
    EXPECT_EQ(view.limit[0], 5);
    view.formatPosition = 1;
    entry.SetKeyFormat();
    // The ASCII box held "AB": captured under ASCII the key is now 41 42 00 00 00.
    EXPECT_EQ(view.text[0], "4142000000");
    EXPECT_EQ(view.limit[0], 10);
}

TEST_F(WepKeyEntryTest, LoadMasksEverythingAgain) {
    entry.Load(64, 1);
    view.Type(entry, 0, "0102030405");
    EXPECT_TRUE(entry.Entered(0));
    entry.Load(64, 1);
    EXPECT_FALSE(entry.Entered(0));
    EXPECT_EQ(view.text[0], "** ** ** ** **");
    EXPECT_EQ(entry.KeyRecordText(0), "11 12 13 14 15");
}

TEST(Passphrase, EightToSixtyThreeCharacters) {
    const struct { size_t length; bool valid; } cases[] = {{0, false}, {7, false}, {8, true}, {63, true}, {64, false}};
    for (const auto& c : cases) EXPECT_EQ(PassphraseLengthValid(std::string(c.length, 'p')), c.valid) << c.length;
}

}  // namespace
}  // namespace hx
