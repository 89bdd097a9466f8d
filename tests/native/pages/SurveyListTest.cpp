#include <gtest/gtest.h>

#include <functional>

#include "pages/SurveyList.h"
#include "tests/native/pages/SurveyBuffer.h"

namespace hx {
namespace {

using test::SurveyBuffer;
using test::TestBss;
using test::RsnElement;
using test::WpaElement;

TEST(SurveyList, ChannelAndSignalFromTheRecord) {
    const struct { uint32_t kHz; int channel; } channels[] = {
        {2412000, 1}, {2437000, 6}, {2472000, 13}, {2484000, 14}, {2417000, 2},
    };
    for (const auto& c : channels) EXPECT_EQ(ChannelFromFrequency(c.kHz), c.channel) << c.kHz;
    const struct { int rssi; int percent; } signals[] = {
        {-30, 100}, {-40, 100}, {-41, 98}, {-70, 53}, {-104, 1}, {-105, 0}, {-120, 0},
    };
    for (const auto& s : signals) EXPECT_EQ(SignalPercentFromRssi(s.rssi), s.percent) << s.rssi;
}

TEST(SurveyList, SecurityFromElementsAndPrivacy) {
    const std::vector<uint8_t> otherVendor{0xDD, 7, 0x00, 0x50, 0xF2, 0x02, 0x01, 0x01, 0x00};
    auto concat = [](std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    std::vector<uint8_t> cutShort = RsnElement({4}, {2});
    cutShort[1] -= 3;  // the AKM list runs past the element
    cutShort.resize(cutShort.size() - 3);
    constexpr uint16_t mfpc = 0x0080, mfpr = 0x0040;
    using R = JoinRefusal;
    const struct {
        const char* name;
        std::vector<uint8_t> elements;
        uint32_t privacy, infrastructure;
        int encryption, auth;
        R refusal = R::None;
    } cases[] = {
        {"open", {}, 0, 1, 1, 2},
        {"WEP", {}, 1, 1, 0, 2},
        {"WPA TKIP PSK", WpaElement({2}, {2}), 1, 1, 4, 4},
        {"WPA CCMP PSK", WpaElement({4}, {2}), 1, 1, 6, 4},
        {"WPA TKIP 802.1X", WpaElement({2}, {1}), 1, 1, 4, 3},
        {"WPA 802.1X in ad hoc", WpaElement({2}, {1}), 1, 0, 4, 2},
        {"WPA WEP-40 pairwise", WpaElement({1}, {2}), 1, 1, 0, 4},
        {"WPA WEP-104 pairwise", WpaElement({5}, {2}), 1, 1, 0, 4},
        {"two pairwise suites: the first counts, AKM after both", WpaElement({4, 2}, {2}), 1, 1, 6, 4},
        {"unknown pairwise and AKM", WpaElement({9}, {7}), 1, 1, 1, 2},
        {"WPA then another vendor element: the WPA element still decides",
         concat(WpaElement({2}, {2}), otherVendor), 1, 1, 4, 4},
        {"a short vendor element alone counts as found, with no suites", otherVendor, 1, 1, 1, 2},
        {"the last element with suites decides", concat(WpaElement({2}, {1}), WpaElement({4}, {2})), 1, 1, 6, 4},
        {"no pairwise suites: nothing read", WpaElement({}, {2}), 1, 1, 1, 2},
        {"WPA2-PSK", concat(RsnElement({4}, {2}), otherVendor), 1, 1, 6, 7},
        {"WPA2-PSK, TKIP only", RsnElement({2}, {2}, -1, 2), 1, 1, 4, 7},
        {"WPA2-PSK with TKIP and CCMP: CCMP", RsnElement({2, 4}, {2}, 0, 2), 1, 1, 6, 7},
        {"WPA2 802.1X", RsnElement({4}, {1}), 1, 1, 6, 6},
        {"WPA and WPA2: WPA2", concat(RsnElement({4, 2}, {2}, 0, 2), WpaElement({2}, {2})), 1, 1, 6, 7},
        {"WPA2/WPA3 transition: WPA2-PSK", RsnElement({4}, {2, 8}, mfpc), 1, 1, 6, 7},
        {"WPA3 only", RsnElement({4}, {8}, mfpc | mfpr), 1, 1, 6, 7, R::Wpa3Only},
        {"protected management frames required", RsnElement({4}, {2, 8}, mfpc | mfpr), 1, 1, 6, 7, R::ProtectedFrames},
        {"no key management we have", RsnElement({4}, {6}), 1, 1, 6, 7, R::Unusable},
        {"no pairwise cipher we have", RsnElement({8}, {2}), 1, 1, 6, 7, R::Unusable},
        {"a group cipher we do not have", RsnElement({4}, {2}, 0, 8), 1, 1, 6, 7, R::Unusable},
        {"WPA2 in an ad hoc cell", RsnElement({4}, {2}), 1, 0, 6, 7, R::Unusable},
        {"an unreadable RSN element is never WEP", cutShort, 1, 1, 6, 7, R::Unusable},
        {"an unreadable RSN element beside WPA: WPA", concat(cutShort, WpaElement({2}, {2})), 1, 1, 4, 4},
    };
    for (const auto& c : cases) {
        TestBss bss;
        bss.elements = c.elements;
        bss.privacy = c.privacy;
        bss.infrastructure = c.infrastructure;
        const auto buffer = SurveyBuffer({bss});
        const auto entries = ParseSurveyList(buffer.data(), buffer.size());
        ASSERT_EQ(entries.size(), 1u) << c.name;
        EXPECT_EQ(entries[0].encryption, c.encryption) << c.name;
        EXPECT_EQ(entries[0].authenticationMode, c.auth) << c.name;
        EXPECT_EQ(entries[0].refusal, c.refusal) << c.name;
    }
}

TEST(SurveyList, RowsInBufferOrderWithTheirFields) {
    TestBss a;
    a.ssid = "alpha";
    a.mac = {1, 2, 3, 4, 5, 6};
    a.rssi = -70;
    a.frequencyKHz = 2472000;
    TestBss b;
    b.ssid = std::string(32, 'x');
    b.infrastructure = 0;
    const auto buffer = SurveyBuffer({a, b});
    const auto entries = ParseSurveyList(buffer.data(), buffer.size());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].ssid, "alpha");
    EXPECT_EQ(entries[0].bssid, (std::array<uint8_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(entries[0].channel, 13);
    EXPECT_EQ(entries[0].signal, 53);
    EXPECT_EQ(entries[0].networkType, 1);
    EXPECT_EQ(entries[1].ssid.size(), 32u);
    EXPECT_EQ(entries[1].networkType, 0);
}

TEST(SurveyList, MalformedListsAreNeverReadPast) {
    TestBss bss;
    bss.elements = WpaElement({2}, {2});
    const auto good = SurveyBuffer({bss, bss, bss});
    const size_t recordSize = BssidRecord::Ies + BssidRecord::FixedIes + bss.elements.size();
    constexpr size_t first = kSurveyListHeader;  // where the first record starts
    constexpr size_t firstElement = first + BssidRecord::Ies + BssidRecord::FixedIes;

    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> spoil;
        size_t expectedRows;
    };
    const Case cases[] = {
        {"count larger than the records", [](auto& b) { test::PutU32(b, 0, 1000); }, 3},
        {"zero length record stops the walk", [&](auto& b) { test::PutU32(b, first + recordSize, 0); }, 1},
        {"record shorter than its fixed part", [&](auto& b) { test::PutU32(b, first, 100); }, 0},
        {"record past the buffer end", [&](auto& b) { test::PutU32(b, first + 2 * recordSize, 20000); }, 2},
        {"SSID length over 32 is cut", [](auto& b) { test::PutU32(b, first + BssidRecord::SsidLength, 4000); }, 3},
        {"IE length past the record is cut to it",
         [](auto& b) { test::PutU32(b, first + BssidRecord::IeLength, 0xFFFFFFF0u); }, 3},
        {"element body past the elements ends the walk", [](auto& b) { b[firstElement + 1] = 250; }, 3},
        {"IE length under the fixed part: no elements",
         [](auto& b) { test::PutU32(b, first + BssidRecord::IeLength, 5); }, 3},
    };
    for (const auto& c : cases) {
        auto buffer = good;
        c.spoil(buffer);
        // Copy into an exactly sized heap block so a read past it is caught by ASan.
        std::vector<uint8_t> exact(buffer.begin(), buffer.begin() + first + 3 * recordSize);
        const auto entries = ParseSurveyList(exact.data(), exact.size());
        EXPECT_EQ(entries.size(), c.expectedRows) << c.name;
        for (const auto& e : entries) EXPECT_LE(e.ssid.size(), 32u) << c.name;
    }
    EXPECT_TRUE(ParseSurveyList(nullptr, 0).empty());
    const uint8_t tiny[3] = {1, 0, 0};
    EXPECT_TRUE(ParseSurveyList(tiny, sizeof tiny).empty());
}

// Every record is a row, past the hundredth too, up to as many as the largest list read holds.
TEST(SurveyList, EveryRecordIsARowUpToWhatTheLargestListHolds) {
    for (const size_t records : {size_t{120}, static_cast<size_t>(kMaxSurveyEntries) + 5}) {
        std::vector<TestBss> many(records);
        for (auto& bss : many) bss.ssid = "";
        const auto buffer = SurveyBuffer(many, kSurveyListHeader + records * (BssidRecord::Ies + BssidRecord::FixedIes));
        EXPECT_EQ(ParseSurveyList(buffer.data(), buffer.size()).size(),
                  std::min(records, static_cast<size_t>(kMaxSurveyEntries)));
    }
}

}  // namespace
}  // namespace hx
