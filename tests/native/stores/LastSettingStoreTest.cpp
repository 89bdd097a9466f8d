#include <gtest/gtest.h>

#include <string>

#include "config/LastSettingStore.h"
#include "config/MemoryAppProfile.h"
#include "config/ValueTables.h"

namespace hx {
namespace {

constexpr const char* kSection = "LastSetting\\";

TEST(LastSettingStore, EmptyStoreLoadsTheDefaultRecord) {
    MemoryAppProfile profile;
    LastSettingStore store(profile);
    WlanSetting setting;
    setting.Dot1xWPAIEs = "DD 16 00 50 F2 01";  // the worker's: not loaded, not cleared
    store.LoadLastSetting(setting);

    WlanSetting expected;
    expected.NetworkType = NetworkType::Infrastructure;
    expected.AuthenticationMode = AuthMode::AutoSwitch;
    expected.Channel = 6;
    expected.DesiredRate = "02 04 0B 16 0C 12 18 24 30 48 60 6C 00 00 00 00";
    expected.PreambleMode = Preamble::Long;
    expected.PowerSaveMode = PowerSave::ContinuousAccess;
    expected.Domain = 0;
    expected.WEPDefaultKeyId = 0;
    expected.WEPStatus = WepStatus::Disabled;
    expected.WEPKeyLength = 64;
    expected.WEPKey.fill("10 11 12 13 14");
    expected.Dot1xProtocol = Dot1xMethod::EapTls;
    expected.Dot1xWPAIEs = "DD 16 00 50 F2 01";
    EXPECT_EQ(setting, expected);
    EXPECT_EQ(profile.ValueCount(), 0u) << "loading writes nothing";
}

struct RangeCase {
    const char* value;
    int stored;
    int expected;
    int WlanSetting::*field;
};

TEST(LastSettingStore, IntegersOutsideTheirRangeLoadTheirDefault) {
    const RangeCase cases[] = {
        {"NetworkType", 0, 0, &WlanSetting::NetworkType},
        {"NetworkType", 2, 1, &WlanSetting::NetworkType},
        {"AuthenticationMode", 4, 4, &WlanSetting::AuthenticationMode},
        {"AuthenticationMode", 5, 2, &WlanSetting::AuthenticationMode},
        {"AuthenticationMode", 6, 6, &WlanSetting::AuthenticationMode},
        {"AuthenticationMode", 7, 7, &WlanSetting::AuthenticationMode},
        {"AuthenticationMode", 8, 2, &WlanSetting::AuthenticationMode},
        {"AuthenticationMode", -3, 2, &WlanSetting::AuthenticationMode},
        {"Channel", 0, 0, &WlanSetting::Channel},
        {"Channel", 14, 14, &WlanSetting::Channel},
        {"Channel", 15, 6, &WlanSetting::Channel},
        {"PreambleMode", 2, 2, &WlanSetting::PreambleMode},
        {"PreambleMode", 3, 0, &WlanSetting::PreambleMode},
        {"PowerSaveMode", 2, 2, &WlanSetting::PowerSaveMode},
        {"PowerSaveMode", 3, 0, &WlanSetting::PowerSaveMode},
        {"Domain", 0x99, 0x99, &WlanSetting::Domain},
        {"Domain", -2, 0, &WlanSetting::Domain},
        {"WEPDefaultKeyId", 3, 3, &WlanSetting::WEPDefaultKeyId},
        {"WEPDefaultKeyId", 4, 0, &WlanSetting::WEPDefaultKeyId},
        {"WEPStatus", 0, 0, &WlanSetting::WEPStatus},
        {"WEPStatus", 6, 6, &WlanSetting::WEPStatus},
        {"WEPStatus", 7, 1, &WlanSetting::WEPStatus},
        {"WEPKeyLength", 128, 128, &WlanSetting::WEPKeyLength},
        {"WEPKeyLength", 256, 256, &WlanSetting::WEPKeyLength},
        {"WEPKeyLength", 100, 64, &WlanSetting::WEPKeyLength},
        {"WEPKeyLength", 40, 64, &WlanSetting::WEPKeyLength},
        {"Dot1xProtocol", 1, 1, &WlanSetting::Dot1xProtocol},
        {"Dot1xProtocol", 2, 0, &WlanSetting::Dot1xProtocol},
    };
    for (const RangeCase& c : cases) {
        MemoryAppProfile profile;
        profile.SetValue(kSection, c.value, c.stored);
        LastSettingStore store(profile);
        WlanSetting setting;
        store.LoadLastSetting(setting);
        EXPECT_EQ(setting.*c.field, c.expected) << c.value << " stored as " << c.stored;
    }
}

TEST(LastSettingStore, ValuesOfTheWrongTypeReadAsMissing) {
    MemoryAppProfile profile;
    profile.SetValue(kSection, "Channel", std::string("11"));
    profile.SetValue(kSection, "SSID", 7);
    profile.SetValue(kSection, "DesiredRate", 2);
    LastSettingStore store(profile);
    EXPECT_EQ(store.ReadLastSettingInt("Channel"), -1);
    EXPECT_EQ(store.ReadLastSettingString("SSID"), "");

    WlanSetting setting;
    store.LoadLastSetting(setting);
    EXPECT_EQ(setting.Channel, 6);
    EXPECT_EQ(setting.SSID, "");
    EXPECT_EQ(setting.DesiredRate, kDefaultDesiredRate);
}

TEST(LastSettingStore, OverLongTextsAreCutToTheirBuffers) {
    MemoryAppProfile profile;
    const std::string ssid40 = "0123456789abcdefghijABCDEFGHIJ!!xxxxxxxx";
    profile.SetValue(kSection, "SSID", ssid40);
    profile.SetValue(kSection, "DesiredRate", std::string(150, '1'));
    profile.SetValue(kSection, "WEPKey64_1", std::string(120, 'A'));
    LastSettingStore store(profile);
    WlanSetting setting;
    store.LoadLastSetting(setting);
    EXPECT_EQ(setting.SSID, ssid40.substr(0, 32));
    EXPECT_EQ(setting.DesiredRate, std::string(99, '1'));
    EXPECT_EQ(setting.WEPKey[1], std::string(99, 'A'));
    // The cut is a reading of the store, not a rewrite of it.
    EXPECT_EQ(store.ReadLastSettingString("SSID"), ssid40);
}

TEST(LastSettingStore, KeysAreKeptPerKeyLength) {
    MemoryAppProfile profile;
    LastSettingStore store(profile);
    for (int i = 0; i < 4; ++i) {
        store.WriteLastSettingString(WepKeyValueName(128, i), "0" + std::to_string(i) + " 11 22 33 44 55 66 77 88 99 AA BB CC");
    }
    store.WriteLastSettingInt("WEPKeyLength", 128);

    WlanSetting setting;
    store.LoadLastSetting(setting);
    EXPECT_EQ(setting.WEPKeyLength, 128);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(setting.WEPKey[static_cast<size_t>(i)],
                  "0" + std::to_string(i) + " 11 22 33 44 55 66 77 88 99 AA BB CC");
    }

    // Back to 64 bits: no 64-bit keys are stored, so every index gets the default; the
    // 128-bit keys stay under their own names.
    store.WriteLastSettingInt("WEPKeyLength", 64);
    store.LoadLastSetting(setting);
    for (const std::string& key : setting.WEPKey) EXPECT_EQ(key, "10 11 12 13 14");
    EXPECT_EQ(store.LoadLastWepKey(2, 128), "02 11 22 33 44 55 66 77 88 99 AA BB CC");
    EXPECT_NE(profile.Find(kSection, "WEPKey128_3"), nullptr);
}

TEST(LastSettingStore, DefaultKeyTextHasTheKeyLengthsByteCount) {
    struct Case {
        int bits;
        std::string text;
    } const cases[] = {
        {64, "10 11 12 13 14"},
        {128, "10 11 12 13 14 15 16 17 18 19 1A 1B 1C"},
        {256, "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F 20 21 22 23 24 25 26 27 28 29 2A 2B 2C"},
        {100, "10 11 12 13 14 15 16 17 18"},  // 100 / 8 - 3 = 9 bytes
        {-1, ""},                             // no bytes rather than a negative count
        {1 << 20, "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F 20 21 22 23 24 25 26 27 28 29 2A 2B 2C"},
    };
    MemoryAppProfile profile;
    LastSettingStore store(profile);
    for (const Case& c : cases) {
        for (int index = 0; index < 4; ++index) {
            EXPECT_EQ(store.LoadLastWepKey(index, c.bits), c.text) << c.bits << " bits, key " << index;
        }
    }
}

TEST(LastSettingStore, KeyValueNamesAndWriteResults) {
    EXPECT_EQ(WepKeyValueName(128, 2), "WEPKey128_2");
    EXPECT_EQ(WepKeyValueName(-1, 0), "WEPKey-1_0");

    MemoryAppProfile profile;
    LastSettingStore store(profile);
    EXPECT_EQ(store.WriteLastSettingInt("Channel", 11), 0);
    EXPECT_EQ(store.WriteLastSettingString("SSID", "lab"), 0);
    profile.SetWritesFail(true);
    EXPECT_EQ(store.WriteLastSettingInt("Channel", 3), -1);
    EXPECT_EQ(store.WriteLastSettingString("SSID", "other"), -1);
    EXPECT_EQ(store.ReadLastSettingInt("Channel"), 11) << "a failed write keeps the stored value";
    EXPECT_EQ(store.ReadLastSettingString("SSID"), "lab");
}

}  // namespace
}  // namespace hx
