// The library's exports over the core: what the worker's records turn into, the key-install
// callback's arguments, and the life cycle init / run / shutdown / init again.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "TestAuthenticator.h"
#include "auth/Dot1xApi.h"
#include "sim/dot1x/core/KeyRecord.h"

namespace {

struct CallbackCall {
    std::vector<uint8_t> rsc, key;
    int keyLength, keyIndex, keyKind;
};
std::vector<CallbackCall> g_calls;

void HX_CALLBACK RecordCall(const uint8_t* rsc, const uint8_t* key, int keyLength, int keyIndex, int keyKind) {
    g_calls.push_back({std::vector<uint8_t>(rsc, rsc + 8), std::vector<uint8_t>(key, key + keyLength), keyLength,
                       keyIndex, keyKind});
}

class KeyRecordFixture : public testing::Test {
protected:
    KeyRecordFixture() : element_(suptest::WpaPskElement(hxsup::Cipher::Ccmp)) {
        std::memset(&record_, 0, sizeof record_);
        const uint8_t mac[6] = {0x00, 0x0E, 0x2E, 0x01, 0x02, 0x03};
        std::memcpy(record_.ownMac, mac, 6);
        for (int i = 0; i < 32; ++i) record_.pairwiseMasterKey[i] = static_cast<uint8_t>(i);
        for (int i = 0; i < 16; ++i) record_.runConstant[i] = static_cast<uint8_t>(0xF0 + i);
        record_.wpaElement = element_.data();
        record_.wpaElementLength = static_cast<uint16_t>(element_.size());
        record_.pairwiseCipher = hx::CipherCode::Ccmp;
        record_.groupCipher = hx::CipherCode::Ccmp;
        record_.installKey = RecordCall;
        g_calls.clear();
    }
    ~KeyRecordFixture() override { Shutdown_Dot1x_Module(); }

    std::vector<uint8_t> element_;
    hx::KeyNegotiationRecord record_{};
    hx::AdapterHandle adapter_{};
};

TEST_F(KeyRecordFixture, SettingsComeFromTheRecordsFields) {
    const auto s = hxsup::SettingsFromRecord(record_);
    EXPECT_EQ(s.ownAddress, (hxsup::MacAddress{0x00, 0x0E, 0x2E, 0x01, 0x02, 0x03}));
    EXPECT_EQ(s.pmk[31], 31);
    EXPECT_EQ(s.runConstant[15], 0xFF);
    EXPECT_EQ(s.wpaElement, element_);
    EXPECT_EQ(s.pairwiseCipher, 16);
    EXPECT_EQ(s.groupCipher, 16);
}

TEST_F(KeyRecordFixture, TheElementIsReadOnlyForAUsableLength) {
    const struct { const char* what; bool nullPointer; uint16_t length; size_t copied; } cases[] = {
        {"null pointer", true, 24, 0},
        {"length 0", false, 0, 0},
        {"length 1", false, 1, 0},
        {"longer than any element", false, 258, 0},
        {"shorter than the element says", false, 10, 10},
    };
    for (const auto& c : cases) {
        hx::KeyNegotiationRecord record = record_;
        record.wpaElement = c.nullPointer ? nullptr : element_.data();
        record.wpaElementLength = c.length;
        EXPECT_EQ(hxsup::SettingsFromRecord(record).wpaElement.size(), c.copied) << c.what;
    }
}

TEST_F(KeyRecordFixture, KeysReachTheCallbackWithTheirKindIndexAndCounter) {
    hxsup::NegotiatedKey group;
    group.rsc = {1, 2, 3, 4, 5, 6, 7, 8};
    group.key.assign(16, 0x77);
    group.index = 2;
    group.kind = hxsup::KeyKind::Group;
    hxsup::InstallThroughRecord(record_, group);
    hxsup::NegotiatedKey pairwise;
    pairwise.key.assign(32, 0x11);
    hxsup::InstallThroughRecord(record_, pairwise);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].rsc, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(g_calls[0].keyLength, 16);
    EXPECT_EQ(g_calls[0].keyIndex, 2);
    EXPECT_EQ(g_calls[0].keyKind, 1);
    EXPECT_EQ(g_calls[1].key, std::vector<uint8_t>(32, 0x11));
    EXPECT_EQ(g_calls[1].keyIndex, 0);
    EXPECT_EQ(g_calls[1].keyKind, 0);

    record_.installKey = nullptr;  // no callback: nothing to call, nothing breaks
    hxsup::InstallThroughRecord(record_, pairwise);
    EXPECT_EQ(g_calls.size(), 2u);
}

TEST_F(KeyRecordFixture, InitRefusesWhatItCannotUse) {
    EXPECT_EQ(do_key_negotiation_init(nullptr, &record_), -1);
    EXPECT_EQ(do_key_negotiation_init(&adapter_, nullptr), -1);
    hx::KeyNegotiationRecord noElement = record_;
    noElement.wpaElement = nullptr;
    EXPECT_EQ(do_key_negotiation_init(&adapter_, &noElement), -1);
    hx::KeyNegotiationRecord wep256 = record_;
    wep256.pairwiseCipher = wep256.groupCipher = 0;
    EXPECT_EQ(do_key_negotiation_init(&adapter_, &wep256), -1);
    EXPECT_EQ(do_key_negotiation_run(&record_), -1) << "a refused init leaves nothing to run";
}

TEST_F(KeyRecordFixture, RunsOnlyBetweenInitAndShutdownAndInitsAgainAfterIt) {
    const auto refusedAt = std::chrono::steady_clock::now();
    EXPECT_EQ(do_key_negotiation_run(&record_), -1);
    EXPECT_GE(std::chrono::steady_clock::now() - refusedAt, std::chrono::milliseconds(15)) << "a refused step waits too";
    EXPECT_EQ(do_key_negotiation_run(nullptr), -1);
    ASSERT_EQ(do_key_negotiation_init(&adapter_, &record_), 0);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(do_key_negotiation_run(&record_), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(200));
    EXPECT_EQ(Shutdown_Dot1x_Module(), 0);
    EXPECT_EQ(do_key_negotiation_run(&record_), -1);
    EXPECT_EQ(do_eapol_start(record_.ownMac, record_.ownMac), -1) << "nothing to start after shutdown";
    ASSERT_EQ(do_key_negotiation_init(&adapter_, &record_), 0);
    EXPECT_EQ(do_key_negotiation_run(&record_), 0);
    EXPECT_TRUE(g_calls.empty());
}

}  // namespace
