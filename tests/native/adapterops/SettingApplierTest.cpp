#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/native/adapterops/Fixture.h"

namespace hx::test {
namespace {

using Strings = std::vector<std::string>;

WlanSetting Setting(int networkType, int auth, int wepStatus, int bits = 64) {
    WlanSetting s;
    s.SSID = "lab";
    s.Channel = 3;
    s.NetworkType = networkType;
    s.DesiredRate = "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00";
    s.AuthenticationMode = auth;
    s.WEPStatus = wepStatus;
    s.WEPKeyLength = bits;
    s.WEPDefaultKeyId = 1;
    const int bytes = bits == 128 ? 13 : (bits == 256 ? 29 : 5);
    for (int i = 0; i < 4; ++i) {
        std::string key;
        for (int b = 0; b < bytes; ++b) key += (b ? " " : "") + std::string(1, static_cast<char>('A' + i)) + "0";
        s.WEPKey[static_cast<size_t>(i)] = key;
    }
    s.PreambleMode = 2;
    s.PowerSaveMode = 1;
    s.Domain = 0x30;
    return s;
}

Strings Join(std::initializer_list<Strings> parts) {
    Strings all;
    for (const Strings& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Strings kKeys = {"HexStrToBin", "SetWL_WriteKey", "HexStrToBin", "SetWL_WriteKey",
                       "HexStrToBin", "SetWL_WriteKey", "HexStrToBin", "SetWL_WriteKey"};
const Strings kTail = {"HexStrToBin", "SetWL_DesiredRate", "SetWL_SSID", "SetWL_PreambleMode",
                       "SetWL_PSMode", "SetWL_PSMode", "SetWL_OperationRegionCode",
                       "QueryWL_OperationRegionCode", "SetWL_RegionAndSupportChannel",
                       "QueryWL_SupportChannel"};

TEST(ApplySetting, CallSequenceByNetworkTypeAndEncryption) {
    const struct {
        const char* name;
        WlanSetting setting;
        Strings calls;
        bool workerStarted;
    } cases[] = {
        {"infrastructure, WEP disabled", Setting(1, 2, 1),
         Join({{"SetWL_NetworkType", "SetWL_AuthenticationMode"}, kKeys, {"SetWL_WEPStatus"}, kTail}), false},
        {"infrastructure, WEP enabled", Setting(1, 0, 0),
         Join({{"SetWL_NetworkType", "SetWL_AuthenticationMode"}, kKeys, {"SetWL_WEPStatus"}, kTail}), false},
        {"ad hoc, WEP enabled", Setting(0, 1, 0),
         Join({{"SetWL_NetworkType", "SetWL_Channel", "SetWL_AuthenticationMode"}, kKeys, {"SetWL_WEPStatus"}, kTail}),
         false},
        {"infrastructure, TKIP, WPA-PSK", Setting(1, 4, 4),
         Join({{"SetWL_NetworkType", "SetWL_AuthenticationMode", "SetWL_WEPStatus"}, kTail}), true},
        {"infrastructure, AES, WPA", Setting(1, 3, 6),
         Join({{"SetWL_NetworkType", "SetWL_AuthenticationMode", "SetWL_WEPStatus"}, kTail}), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AdapterFixture f;
        f.state.current = c.setting;
        EXPECT_EQ(f.applier.ApplySetting(), 1);
        EXPECT_EQ(f.library.CallNames(), c.calls);
        const Strings expectedEvents =
            c.workerStarted ? Strings{"Stop@0", "Start@" + std::to_string(c.calls.size())} : Strings{"Stop@0"};
        EXPECT_EQ(f.worker.events, expectedEvents);

        // What the adapter accepted is stored, and only that.
        EXPECT_EQ(f.StoredInt("NetworkType"), c.setting.NetworkType);
        EXPECT_EQ(f.StoredInt("Channel"), c.setting.NetworkType == 0 ? 3 : -999);
        EXPECT_EQ(f.StoredInt("WEPStatus"), c.setting.WEPStatus);
        const bool keysWritten = c.setting.WEPStatus <= 1;
        EXPECT_EQ(f.Stored("WEPKey64_0") != nullptr, keysWritten);
        EXPECT_EQ(f.Stored("WEPKeyLength") != nullptr, keysWritten);
        EXPECT_EQ(f.StoredString("SSID"), "lab");
        EXPECT_EQ(f.StoredInt("Domain"), 0x30);
    }
}

TEST(ApplySetting, ArgumentsReachTheAdapterAsGiven) {
    AdapterFixture f;
    f.state.current = Setting(0, 1, 0, 128);
    f.library.regionAnswer = 0x31;  // the adapter settles on another region
    ASSERT_EQ(f.applier.ApplySetting(), 1);
    const Strings calls = f.library.Calls();
    const std::string key0 = "A0 A0 A0 A0 A0 A0 A0 A0 A0 A0 A0 A0 A0";
    const std::string key1 = "B0 B0 B0 B0 B0 B0 B0 B0 B0 B0 B0 B0 B0";
    const Strings expected = {
        "SetWL_NetworkType(0)", "SetWL_Channel(3)", "SetWL_AuthenticationMode(1)",
        "HexStrToBin(" + key0 + ",13)", "SetWL_WriteKey(0,1,0," + key0 + ")",
        "HexStrToBin(" + key1 + ",13)", "SetWL_WriteKey(1,1,1," + key1 + ")",
        calls[7], calls[8], calls[9], calls[10],
        "SetWL_WEPStatus(0)",
        "HexStrToBin(02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00,16)",
        "SetWL_DesiredRate(02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00)",
        "SetWL_SSID(lab,3)", "SetWL_PreambleMode(2)", "SetWL_PSMode(1)", "SetWL_PSMode(1)",
        "SetWL_OperationRegionCode(48)", "QueryWL_OperationRegionCode()", "SetWL_RegionAndSupportChannel(49)",
        "QueryWL_SupportChannel(14)"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(f.StoredInt("WEPKeyLength"), 128);
    EXPECT_EQ(f.StoredInt("WEPDefaultKeyId"), 1);
    EXPECT_EQ(f.StoredString("WEPKey128_1"), key1);
    EXPECT_EQ(f.StoredInt("Domain"), 0x30) << "the region as requested, not as answered";
    EXPECT_EQ(f.state.supportedChannels.count, 11);
    EXPECT_EQ(f.state.supportedChannels.channel[10], 11);
}

// Every value name ApplySetting stores, in the order it stores them, for an ad hoc
// WPA-PSK setting with WEP enabled (which takes every step).
const Strings kStoredInOrder = {"NetworkType", "Channel", "AuthenticationMode", "WEPKey64_0", "WEPKey64_1",
                                "WEPKey64_2", "WEPKey64_3", "WEPKeyLength", "WEPDefaultKeyId", "WEPStatus",
                                "DesiredRate", "SSID", "PreambleMode", "PowerSaveMode", "Domain"};

TEST(ApplySetting, AFailureAtAnyStepKeepsWhatCameBeforeAndNothingAfter) {
    const struct {
        const char* call;
        int occurrence;
        size_t storedBefore;  // how many of kStoredInOrder precede the failure
    } cases[] = {
        {"SetWL_NetworkType", 1, 0},
        {"SetWL_Channel", 1, 1},
        {"SetWL_AuthenticationMode", 1, 2},
        {"SetWL_WriteKey", 1, 3},
        {"SetWL_WriteKey", 3, 5},
        {"SetWL_WriteKey", 4, 6},
        {"SetWL_WEPStatus", 1, 9},
        {"SetWL_DesiredRate", 1, 10},
        {"SetWL_SSID", 1, 11},
        {"SetWL_PreambleMode", 1, 12},
        {"SetWL_PSMode", 1, 13},
        {"SetWL_PSMode", 2, 14},
        {"SetWL_OperationRegionCode", 1, 14},
        {"QueryWL_OperationRegionCode", 1, 14},
        {"SetWL_RegionAndSupportChannel", 1, 14},
        {"QueryWL_SupportChannel", 1, 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.call) + " #" + std::to_string(c.occurrence));
        AdapterFixture f;
        f.state.current = Setting(0, 4, 0);
        f.worker.active = true;
        f.FailNth(c.call, c.occurrence);

        EXPECT_EQ(f.applier.ApplySetting(), 0);
        const Strings names = f.library.CallNames();
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.back(), c.call) << "nothing is applied after the failing call";
        EXPECT_EQ(f.worker.events, Strings{"Stop@0"});
        EXPECT_FALSE(f.worker.active);
        for (size_t i = 0; i < kStoredInOrder.size(); ++i) {
            EXPECT_EQ(f.Stored(kStoredInOrder[i]) != nullptr, i < c.storedBefore) << kStoredInOrder[i];
        }
    }
}

TEST(ApplySetting, AKeyRefusedKeepsTheStoredKeyRecord) {
    AdapterFixture f;
    f.store.WriteLastSettingInt("WEPKeyLength", 128);
    f.store.WriteLastSettingInt("WEPDefaultKeyId", 3);
    f.store.WriteLastSettingInt("WEPStatus", 1);
    f.state.current = Setting(1, 0, 0);
    f.FailNth("SetWL_WriteKey", 3);  // key 2

    EXPECT_EQ(f.applier.ApplySetting(), 0);
    ASSERT_EQ(f.library.keys.size(), 2u);
    EXPECT_EQ(f.StoredString("WEPKey64_0"), "A0 A0 A0 A0 A0");
    EXPECT_EQ(f.StoredString("WEPKey64_1"), "B0 B0 B0 B0 B0");
    EXPECT_EQ(f.Stored("WEPKey64_2"), nullptr);
    EXPECT_EQ(f.StoredInt("WEPKeyLength"), 128);
    EXPECT_EQ(f.StoredInt("WEPDefaultKeyId"), 3);
    EXPECT_EQ(f.StoredInt("WEPStatus"), 1);
    EXPECT_EQ(f.library.CountOf("SetWL_WEPStatus"), 0);
}

TEST(ApplySetting, TheWorkerRunsAfterwardsExactlyForWpaModes) {
    for (int auth = 0; auth <= 8; ++auth) {
        AdapterFixture f;
        f.state.current = Setting(1, auth, auth >= 3 ? 4 : 1);
        f.worker.active = true;
        EXPECT_EQ(f.applier.ApplySetting(), 1);
        EXPECT_EQ(f.worker.active, auth == 3 || auth == 4 || auth == 6 || auth == 7) << "mode " << auth;
        EXPECT_EQ(f.worker.events.front(), "Stop@0");
    }
}

TEST(SingleValueOperations, StoreOnlyWhatTheAdapterAccepted) {
    using Op = int (SettingApplier::*)(int);
    const struct {
        Op op;
        const char* call;
        const char* value;
    } cases[] = {
        {&SettingApplier::ApplyNetworkType, "SetWL_NetworkType", "NetworkType"},
        {&SettingApplier::ApplyAuthenticationMode, "SetWL_AuthenticationMode", "AuthenticationMode"},
        {&SettingApplier::ApplyChannel, "SetWL_Channel", "Channel"},
        {&SettingApplier::ApplyWepStatus, "SetWL_WEPStatus", "WEPStatus"},
        {&SettingApplier::ApplyPreambleMode, "SetWL_PreambleMode", "PreambleMode"},
        {&SettingApplier::ApplyPowerSaveMode, "SetWL_PSMode", "PowerSaveMode"},
    };
    for (const auto& c : cases) {
        AdapterFixture f;
        EXPECT_EQ((f.applier.*c.op)(2), 0) << c.call;
        EXPECT_EQ(f.StoredInt(c.value), 2) << c.value;
        f.library.Fail(c.call);
        EXPECT_EQ((f.applier.*c.op)(1), -1) << c.call;
        EXPECT_EQ(f.StoredInt(c.value), 2) << c.value << " keeps the accepted value";
        // A store that refuses the write does not change the operation's result.
        f.profile.SetWritesFail(true);
        EXPECT_EQ((f.applier.*c.op)(1), 0) << c.call;
    }
}

TEST(SingleValueOperations, OverLongTextsAreCutToTheAdaptersBuffers) {
    AdapterFixture f;
    const std::string ssid40(40, 'x');
    EXPECT_EQ(f.applier.ApplySsid(ssid40), 0);
    EXPECT_EQ(f.library.Calls().back(), "SetWL_SSID(" + std::string(32, 'x') + ",32)");
    EXPECT_EQ(f.StoredString("SSID"), std::string(32, 'x'));

    std::string rates;
    for (int i = 0; i < 40; ++i) rates += "0C ";
    EXPECT_EQ(f.applier.ApplyDesiredRate(rates), 0);
    EXPECT_EQ(f.StoredString("DesiredRate"), rates.substr(0, 99));

    const std::string longKey(150, 'F');
    EXPECT_EQ(f.applier.ApplyWepKeys(0, 64, {longKey, longKey, longKey, longKey}), 0);
    EXPECT_EQ(f.StoredString("WEPKey64_3"), std::string(99, 'F'));
    EXPECT_EQ(f.library.keys[3].bytes, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(ApplyWepKeys, AnUnknownLengthIsWrittenAs64BitsButStoredAsGiven) {
    AdapterFixture f;
    EXPECT_EQ(f.applier.ApplyWepKeys(2, 100, {"01 02 03 04 05", "", "", ""}), 0);
    ASSERT_EQ(f.library.keys.size(), 4u);
    EXPECT_EQ(f.library.keys[0].lengthCode, 0);
    EXPECT_EQ(f.library.keys[0].bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(f.library.keys[2].isDefault, 1);
    EXPECT_EQ(f.library.keys[1].isDefault, 0);
    EXPECT_EQ(f.StoredString("WEPKey100_0"), "01 02 03 04 05");
    EXPECT_EQ(f.StoredInt("WEPKeyLength"), 100);
    EXPECT_EQ(f.StoredInt("WEPDefaultKeyId"), 2);
}

// A library whose channel query answers as the test says.
class ChannelAnswer : public FakeAdapterLibrary {
public:
    int reportedCount = 11;
    int QueryWL_SupportChannel(AdapterHandle* adapter, unsigned char channels[14], int* count) override {
        const int result = FakeAdapterLibrary::QueryWL_SupportChannel(adapter, channels, count);
        *count = reportedCount;
        return result;
    }
};

TEST(ApplyDomain, ChannelsFollowTheRegionInForce) {
    AdapterFixture f;
    f.state.supportedChannels.count = 2;
    f.state.supportedChannels.channel[0] = 1;
    f.store.WriteLastSettingInt("Domain", 0x10);

    // An unreadable region in force: nothing stored, channels as they were.
    f.library.regionAnswer = -1;
    EXPECT_EQ(f.applier.ApplyDomain(0x40), -1);
    EXPECT_EQ(f.StoredInt("Domain"), 0x10);
    EXPECT_EQ(f.state.supportedChannels.count, 2);
    EXPECT_EQ(f.library.CountOf("SetWL_RegionAndSupportChannel"), 0);

    // Channels that cannot be read leave none listed rather than fourteen empty slots.
    f.library.regionAnswer = -2;
    f.library.Fail("QueryWL_SupportChannel");
    EXPECT_EQ(f.applier.ApplyDomain(0x40), -1);
    EXPECT_EQ(f.state.supportedChannels.count, 0);
    EXPECT_EQ(f.StoredInt("Domain"), 0x10);

    EXPECT_EQ(f.applier.ApplyDomain(0x40), 0);
    EXPECT_EQ(f.state.supportedChannels.count, 11);
    EXPECT_EQ(f.StoredInt("Domain"), 0x40);
}

TEST(ApplyDomain, AChannelCountOutsideTheListIsBounded) {
    for (const auto& [reported, expected] : {std::pair{40, 14}, std::pair{-3, 0}}) {
        ChannelAnswer library;
        MemoryAppProfile profile;
        LastSettingStore store(profile);
        UtilityState state;
        RecordingWorker worker(library);
        SettingApplier applier(library, state, store, worker);
        library.reportedCount = reported;
        EXPECT_EQ(applier.ApplyDomain(0x10), 0);
        EXPECT_EQ(state.supportedChannels.count, expected) << reported;
    }
}

}  // namespace
}  // namespace hx::test
