#include <gtest/gtest.h>

#include "config/ValueTables.h"
#include "pages/ConfigPageModel.h"
#include "tests/fakes/FakeAdapterLibrary.h"

namespace hx {
namespace {

class ConfigPageModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        rates.rate = {0x02, 0x04, 0x0B, 0x16};
        channels.channel = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        channels.count = 11;
        setting.SSID = "home";
        setting.NetworkType = 1;
        setting.Channel = 6;
        setting.DesiredRate = kDefaultDesiredRate;
        setting.PreambleMode = 2;
        setting.PowerSaveMode = 1;
        setting.Domain = 0x30;
    }
    test::FakeAdapterLibrary library;
    SupportedRates rates;
    SupportedChannels channels;
    WlanSetting setting;
};

TEST_F(ConfigPageModelTest, LoadSelectsTheSettingsPositions) {
    const auto p = LoadConfigPositions(setting, rates, channels, library);
    EXPECT_EQ(p.ssid, "home");
    EXPECT_EQ(p.wirelessMode, 1);
    EXPECT_EQ(p.channel, 5);
    EXPECT_EQ(p.txRate, 0);
    EXPECT_EQ(p.preamble, 2);
    EXPECT_EQ(p.powerMode, 1);
    EXPECT_EQ(p.region, 3);
    EXPECT_FALSE(ChannelListEnabled(p.wirelessMode));
    EXPECT_TRUE(ChannelListEnabled(0));

    setting.Channel = 14;   // not supported: no selection
    setting.Domain = 0x99;  // not in the table: the first region
    const auto q = LoadConfigPositions(setting, rates, channels, library);
    EXPECT_EQ(q.channel, -1);
    EXPECT_EQ(q.region, 0);
}

TEST_F(ConfigPageModelTest, StoreAndReloadRates) {
    const struct { int position; const char* stored; int reloaded; } cases[] = {
        {0, "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00", 0},
        {3, "0B 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", 3},
        {-1, "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00", 0},
    };
    for (const auto& c : cases) {
        auto p = LoadConfigPositions(setting, rates, channels, library);
        p.txRate = c.position;
        StoreConfigPositions(p, setting, rates, channels);
        EXPECT_EQ(setting.DesiredRate, c.stored);
        EXPECT_EQ(LoadConfigPositions(setting, rates, channels, library).txRate, c.reloaded);
    }
    setting.DesiredRate = "6C 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";  // not supported
    EXPECT_EQ(LoadConfigPositions(setting, rates, channels, library).txRate, 0);
}

TEST_F(ConfigPageModelTest, ChannelChangesOnlyInAdHoc) {
    auto p = LoadConfigPositions(setting, rates, channels, library);
    p.channel = 0;
    StoreConfigPositions(p, setting, rates, channels);  // infrastructure
    EXPECT_EQ(setting.Channel, 6);
    p.wirelessMode = 0;
    p.channel = 10;
    StoreConfigPositions(p, setting, rates, channels);
    EXPECT_EQ(setting.Channel, 11);
    EXPECT_EQ(setting.NetworkType, 0);
    p.channel = -1;  // nothing chosen: the first listed channel
    StoreConfigPositions(p, setting, rates, channels);
    EXPECT_EQ(setting.Channel, 1);
}

TEST_F(ConfigPageModelTest, StoreWritesTheOtherFieldsAsShown) {
    ConfigPositions p;
    p.ssid = "";
    p.wirelessMode = 1;
    p.preamble = 0;
    p.powerMode = 2;
    p.region = 7;
    StoreConfigPositions(p, setting, rates, channels);
    EXPECT_EQ(setting.SSID, "");
    EXPECT_EQ(setting.PreambleMode, 0);
    EXPECT_EQ(setting.PowerSaveMode, 2);
    EXPECT_EQ(setting.Domain, 0x50);
}

}  // namespace
}  // namespace hx
