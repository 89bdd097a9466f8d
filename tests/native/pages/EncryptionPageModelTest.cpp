#include <gtest/gtest.h>

#include "config/ValueTables.h"
#include "pages/EncryptionPageModel.h"
#include "pages/WepKeyEntry.h"
#include "tests/fakes/SampleSetting.h"
#include "tests/native/adapterops/Fixture.h"

namespace hx {
namespace {

using Texts = std::vector<std::string>;

class EncryptionPageModelTest : public ::testing::Test, protected test::AdapterFixture {
protected:
    EncryptionPageModelTest() {
        state.current = test::FullSetting(64);
        state.current.NetworkType = NetworkType::Infrastructure;
    }
    // What Apply sends when the user leaves the page as it was loaded.
    SecurityChoice Unchanged() {
        const SecurityDisplay shown = model.Load().security;
        SecurityChoice choice;
        choice.encryption = shown.encryption < static_cast<int>(shown.encryptionTexts.size()) ? shown.encryption : -1;
        choice.authentication =
            shown.authentication < static_cast<int>(shown.authenticationTexts.size()) ? shown.authentication : -1;
        choice.defaultKey = shown.defaultKey;
        choice.passphrase = shown.passphrase;
        choice.keys = {"01 02 03 04 05", "11 12 13 14 15", "21 22 23 24 25", "31 32 33 34 35"};
        choice.keyLengthBits = 64;
        return choice;
    }
    EncryptionPageModel model{state, store, applier};
};

TEST_F(EncryptionPageModelTest, LoadShowsTheListsOfTheNetworkType) {
    const struct {
        int networkType, wepStatus, authMode, defaultKey;
        size_t encryptionEntries, authenticationEntries;
        int encryption, authentication, shownDefaultKey;
    } cases[] = {
        {1, WepStatus::Tkip, AuthMode::WpaPsk, 2, 4, 5, 2, 3, 2},
        {0, WepStatus::Tkip, AuthMode::WpaPsk, 3, 2, 3, 0, 2, 3},  // ad hoc: "Disable", "WEP Auto Switch"
        {1, WepStatus::Aes, AuthMode::Wpa2Psk, 0, 4, 5, 3, 4, 0},
        {0, WepStatus::Aes, AuthMode::Wpa2Psk, 0, 2, 3, 0, 2, 0},
        {1, WepStatus::Aes, AuthMode::Wpa, 4, 4, 5, 3, -1, -1},    // 802.1X has no entry
        {1, WepStatus::Aes, AuthMode::Wpa2, 1, 4, 5, 3, -1, 1},
        {0, WepStatus::Wep, AuthMode::Shared, -1, 2, 3, 1, 1, -1},
    };
    for (const auto& c : cases) {
        state.current.NetworkType = c.networkType;
        state.current.WEPStatus = c.wepStatus;
        state.current.AuthenticationMode = c.authMode;
        state.current.WEPDefaultKeyId = c.defaultKey;
        const SecurityDisplay shown = model.Load().security;
        EXPECT_EQ(shown.encryptionTexts.size(), c.encryptionEntries) << c.networkType << "/" << c.wepStatus;
        EXPECT_EQ(shown.authenticationTexts.size(), c.authenticationEntries) << c.networkType;
        EXPECT_EQ(shown.encryption, c.encryption) << c.networkType << "/" << c.wepStatus;
        EXPECT_EQ(shown.authentication, c.authentication) << c.networkType << "/" << c.authMode;
        EXPECT_EQ(shown.defaultKey, c.shownDefaultKey) << c.defaultKey;
    }
    EXPECT_EQ(model.Load().security.authenticationTexts.back(), "WEP Auto Switch");
    state.keyFormat = 1;
    state.current.WEPKeyLength = 40;
    EXPECT_EQ(model.Load().keyFormat, 1);
    EXPECT_EQ(model.Load().keyLengthBits, 40);
}

TEST_F(EncryptionPageModelTest, AppliedUnchangedPagesMapToTheStoredCodes) {
    const struct { int networkType, wepStatus, authMode, appliedStatus, appliedMode; } cases[] = {
        {0, WepStatus::Tkip, AuthMode::Open, WepStatus::Disabled, AuthMode::Open},   // shown as "Disable"
        {1, WepStatus::Tkip, AuthMode::Wpa, WepStatus::Tkip, AuthMode::AutoSwitch},  // no entry: auto switch
        {1, WepStatus::Aes, AuthMode::WpaPsk, WepStatus::Aes, AuthMode::WpaPsk},
        {0, WepStatus::Wep, AuthMode::WpaPsk, WepStatus::Wep, AuthMode::AutoSwitch},
    };
    for (const auto& c : cases) {
        state.current.NetworkType = c.networkType;
        state.current.WEPStatus = c.wepStatus;
        state.current.AuthenticationMode = c.authMode;
        ASSERT_EQ(model.Apply(Unchanged(), 0), EncryptionApplyResult::Applied);
        EXPECT_EQ(state.current.WEPStatus, c.appliedStatus) << c.networkType << "/" << c.wepStatus;
        EXPECT_EQ(state.current.AuthenticationMode, c.appliedMode) << c.networkType << "/" << c.authMode;
        EXPECT_EQ(library.authMode, c.appliedMode) << "the adapter got the setting";
    }
}

TEST_F(EncryptionPageModelTest, DisableStillWritesTheKeysAndTouchesNothingElse) {
    WlanSetting before = state.current;
    SecurityChoice choice = Unchanged();
    choice.encryption = 0;
    choice.authentication = 0;
    choice.defaultKey = 3;
    choice.keys = {"AA AA AA AA AA AA AA AA AA AA AA AA AA", "", "", ""};
    choice.keyLengthBits = 128;
    ASSERT_EQ(model.Apply(choice, 1), EncryptionApplyResult::Applied);

    EXPECT_EQ(state.current.WEPKey, choice.keys);
    EXPECT_EQ(state.current.WEPKeyLength, 128);
    EXPECT_EQ(state.current.WEPDefaultKeyId, 3);
    EXPECT_EQ(state.current.WEPStatus, WepStatus::Disabled);
    EXPECT_EQ(state.current.Dot1xPassphrase, before.Dot1xPassphrase) << "only taken with WPA-PSK";
    // The radio fields are not the page's.
    before.WEPKey = state.current.WEPKey;
    before.WEPKeyLength = state.current.WEPKeyLength;
    before.WEPDefaultKeyId = state.current.WEPDefaultKeyId;
    before.WEPStatus = state.current.WEPStatus;
    before.AuthenticationMode = state.current.AuthenticationMode;
    EXPECT_EQ(state.current, before);
    EXPECT_EQ(profile.ReadInt("", kKeyFormatValue, -1), 1);
    EXPECT_EQ(state.keyFormat, 1);
}

TEST_F(EncryptionPageModelTest, PassphraseRuleGuardsOnlyWpaAndWpa2Psk) {
    const struct { int authentication; size_t length; bool applied; } cases[] = {
        {3, 7, false}, {3, 8, true}, {3, 63, true}, {3, 64, false}, {3, 0, false},
        {4, 7, false}, {4, 8, true}, {4, 64, false},
        {0, 7, true}, {2, 64, true},
    };
    for (const auto& c : cases) {
        state.current = test::FullSetting(64);
        state.current.NetworkType = NetworkType::Infrastructure;
        state.keyFormat = 0;
        profile = MemoryAppProfile();
        library.ClearCalls();
        worker.events.clear();
        const WlanSetting before = state.current;

        SecurityChoice choice = Unchanged();
        choice.authentication = c.authentication;
        choice.passphrase = std::string(c.length, 'p');
        const auto result = model.Apply(choice, 1);

        const std::string what = std::to_string(c.authentication) + "/" + std::to_string(c.length);
        if (!c.applied) {
            EXPECT_EQ(result, EncryptionApplyResult::PassphraseLengthRefused) << what;
            EXPECT_EQ(state.current, before) << what;
            EXPECT_EQ(state.keyFormat, 0) << what;
            EXPECT_EQ(profile.ValueCount(), 0u) << what;
            EXPECT_TRUE(library.Calls().empty()) << what;
            EXPECT_TRUE(worker.events.empty()) << what;
            continue;
        }
        EXPECT_EQ(result, EncryptionApplyResult::Applied) << what;
        EXPECT_FALSE(library.Calls().empty()) << what;
        const bool preShared = PassphrasePosition(c.authentication);
        EXPECT_EQ(state.current.Dot1xPassphrase, preShared ? choice.passphrase : before.Dot1xPassphrase) << what;
        EXPECT_EQ(StoredString("Dot1xPassphrase"), preShared ? choice.passphrase : "<none>") << what;
        EXPECT_EQ(worker.active, preShared) << what;
    }
}

}  // namespace
}  // namespace hx
