#include <gtest/gtest.h>

#include <climits>

#include "config/ValueTables.h"
#include "pages/ProfileEditorModel.h"

namespace hx {
namespace {

class ProfileEditorModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        rates.rate = {0x02, 0x04, 0x0B, 0x16};
        channels.channel = {10, 11, 12, 13};
        channels.count = 4;
        copy.SSID = "office";
        copy.NetworkType = 1;
        copy.Channel = 11;
        copy.DesiredRate = "16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
        copy.AuthenticationMode = 4;
        copy.WEPStatus = 4;
        copy.WEPDefaultKeyId = 2;
        copy.Domain = 0x40;
        copy.Dot1xPassphrase = "secret passphrase";
        copy.Dot1xUsername = "user";
        copy.Dot1xWPAIEs = "DD 16";
    }
    SupportedRates rates;
    SupportedChannels channels;
    WlanSetting copy;
    std::array<std::string, 4> keys{"01 02 03 04 05", "00 00 00 00 00", "AA BB CC DD EE", "11 11 11 11 11"};
};

TEST_F(ProfileEditorModelTest, LoadChoosesChannelByPositionAndRateAuto) {
    const auto p = LoadEditorPositions(copy, "Office", channels);
    EXPECT_EQ(p.profileName, "Office");
    EXPECT_EQ(p.channel, -1);  // the eleventh entry does not exist
    EXPECT_EQ(p.txRate, 0);
    EXPECT_EQ(p.region, 6);
    EXPECT_EQ(p.encryption, 2);
    EXPECT_EQ(p.authentication, 3);
    EXPECT_EQ(p.defaultKey, 2);
    copy.Channel = 3;
    EXPECT_EQ(LoadEditorPositions(copy, "", channels).channel, 2);
}

TEST_F(ProfileEditorModelTest, ChannelsNoListHoldsSelectNothing) {
    // A profile's "Channel" is loaded as stored, whatever it is.
    const struct { int stored; int position; } cases[] = {
        {1, 0}, {4, 3}, {5, -1}, {0, -1}, {-1, -1}, {INT_MIN, -1}, {INT_MAX, -1},
    };
    for (const auto& c : cases) {
        copy.Channel = c.stored;
        EXPECT_EQ(LoadEditorPositions(copy, "", channels).channel, c.position) << c.stored;
    }
}

TEST_F(ProfileEditorModelTest, OkWithoutChangesStoresTheFirstChannelAndAllRates) {
    auto p = LoadEditorPositions(copy, "Office", channels);
    std::string name;
    StoreEditorPositions(p, keys, 64, rates, channels, copy, name);
    EXPECT_EQ(name, "Office");
    EXPECT_EQ(copy.Channel, 10);
    EXPECT_EQ(copy.DesiredRate, "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(copy.WEPStatus, 4);
    EXPECT_EQ(copy.AuthenticationMode, 4);
    EXPECT_EQ(copy.WEPKey, keys);
    EXPECT_EQ(copy.WEPKeyLength, 64);
    EXPECT_EQ(copy.Dot1xUsername, "user");      // not shown, kept
    EXPECT_EQ(copy.Dot1xWPAIEs, "DD 16");
}

TEST_F(ProfileEditorModelTest, WirelessModeRoundTripRestoresTheCopysSecurity) {
    auto p = LoadEditorPositions(copy, "", channels);
    ReselectSecurityForMode(copy, 0, p);
    EXPECT_EQ(p.encryption, 0);
    EXPECT_EQ(p.authentication, 2);  // "WEP Auto Switch"
    p.authentication = 1;            // whatever the user chose in between
    ReselectSecurityForMode(copy, 1, p);
    EXPECT_EQ(p.authentication, 3);  // "WPA-PSK" again
    EXPECT_EQ(p.encryption, 2);
}

TEST_F(ProfileEditorModelTest, PassphraseTakenOnlyWithWpaPskAndWithoutALengthCheck) {
    auto p = LoadEditorPositions(copy, "", channels);
    std::string name;
    p.passphrase = "abc";
    StoreEditorPositions(p, keys, 64, rates, channels, copy, name);
    EXPECT_EQ(copy.Dot1xPassphrase, "abc");
    p.authentication = 0;
    p.passphrase = "ignored";
    StoreEditorPositions(p, keys, 128, rates, channels, copy, name);
    EXPECT_EQ(copy.Dot1xPassphrase, "abc");
    EXPECT_EQ(copy.AuthenticationMode, 0);
    EXPECT_EQ(copy.WEPKeyLength, 128);
}

TEST_F(ProfileEditorModelTest, UnselectedListsAreWrittenAsTheyStand) {
    ProfileEditorPositions p;
    p.wirelessMode = 0;
    p.txRate = 2;
    std::string name = "kept?";
    copy.WEPDefaultKeyId = 3;
    StoreEditorPositions(p, keys, 64, rates, channels, copy, name);
    EXPECT_EQ(name, "");
    EXPECT_EQ(copy.PreambleMode, -1);
    EXPECT_EQ(copy.PowerSaveMode, -1);
    EXPECT_EQ(copy.WEPDefaultKeyId, 3);     // no button checked: unchanged
    EXPECT_EQ(copy.WEPStatus, 0);           // no encryption entry: WEP
    EXPECT_EQ(copy.AuthenticationMode, 2);  // no authentication entry: auto switch
    EXPECT_EQ(copy.DesiredRate, "04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(copy.Domain, 0);
}

TEST_F(ProfileEditorModelTest, SecurityListsFollowTheSelectedWirelessMode) {
    const struct { int networkType; size_t encryptionEntries, authenticationEntries; int encryption, authentication; } cases[] = {
        {1, 4, 5, 2, 3},
        {0, 2, 3, 0, 2},
        {-1, 2, 3, 2, 3},  // a missing type selects no mode: ad hoc lists, infrastructure entries
    };
    for (const auto& c : cases) {
        copy.NetworkType = c.networkType;
        const SecurityDisplay shown = EditorSecurityDisplay(LoadEditorPositions(copy, "", channels));
        EXPECT_EQ(shown.encryptionTexts.size(), c.encryptionEntries) << c.networkType;
        EXPECT_EQ(shown.authenticationTexts.size(), c.authenticationEntries) << c.networkType;
        EXPECT_EQ(shown.encryption, c.encryption) << c.networkType;
        EXPECT_EQ(shown.authentication, c.authentication) << c.networkType;
        EXPECT_EQ(shown.defaultKey, 2);
        EXPECT_EQ(shown.passphrase, "secret passphrase");
    }
}

}  // namespace
}  // namespace hx
