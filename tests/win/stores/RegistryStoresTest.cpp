// The two stores over the real registry: what an earlier version wrote loads, what the
// store writes has the value types the layout fixes, and profiles round-trip.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/win32/RegistryAppProfile.h"
#include "config/LastSettingStore.h"
#include "config/ProfileStore.h"
#include "tests/fakes/SampleSetting.h"

namespace hx::win {
namespace {

class RegistryStoresTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = "HxStoresTest" + std::to_string(::GetCurrentProcessId());
        keyPath_ = "Software\\Tessaro\\" + app_;
        ::RegDeleteTreeA(HKEY_CURRENT_USER, keyPath_.c_str());
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, keyPath_.c_str()); }

    // The type of a value as the registry holds it; REG_NONE when it is missing.
    DWORD TypeOf(const std::string& subKey, const std::string& name) {
        HKEY key = nullptr;
        const std::string path = keyPath_ + (subKey.empty() ? "" : "\\" + subKey);
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return REG_NONE;
        DWORD type = REG_NONE;
        if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) type = REG_NONE;
        ::RegCloseKey(key);
        return type;
    }

    void RawWrite(const std::string& subKey, const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, (keyPath_ + "\\" + subKey).c_str(), 0, nullptr, 0,
                                    KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
        ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(key);
    }
    void RawDword(const std::string& subKey, const char* name, DWORD value) {
        RawWrite(subKey, name, REG_DWORD, &value, sizeof value);
    }
    void RawString(const std::string& subKey, const char* name, const std::string& text) {
        RawWrite(subKey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    std::string app_;
    std::string keyPath_;
};

TEST_F(RegistryStoresTest, LastSettingLoadsWhatAnEarlierVersionWrote) {
    RawDword("LastSetting", "NetworkType", 0);
    RawDword("LastSetting", "AuthenticationMode", 1);
    RawDword("LastSetting", "Channel", 15);  // out of range
    RawString("LastSetting", "SSID", std::string(40, 'n'));
    RawDword("LastSetting", "Domain", 0x99);
    RawDword("LastSetting", "WEPKeyLength", 128);
    RawString("LastSetting", "WEPKey128_2", "00 11 22 33 44 55 66 77 88 99 AA BB CC");
    RawString("LastSetting", "PreambleMode", "1");  // wrong type
    const DWORD binary = 2;
    RawWrite("LastSetting", "PowerSaveMode", REG_BINARY, &binary, sizeof binary);

    RegistryAppProfile profile("Tessaro", app_);
    LastSettingStore store(profile);
    WlanSetting setting;
    store.LoadLastSetting(setting);
    EXPECT_EQ(setting.NetworkType, 0);
    EXPECT_EQ(setting.AuthenticationMode, 1);
    EXPECT_EQ(setting.Channel, 6);
    EXPECT_EQ(setting.SSID, std::string(32, 'n'));
    EXPECT_EQ(setting.Domain, 0x99);
    EXPECT_EQ(setting.WEPKeyLength, 128);
    EXPECT_EQ(setting.WEPKey[2], "00 11 22 33 44 55 66 77 88 99 AA BB CC");
    EXPECT_EQ(setting.WEPKey[0], "10 11 12 13 14 15 16 17 18 19 1A 1B 1C");
    EXPECT_EQ(setting.PreambleMode, 0);
    EXPECT_EQ(setting.PowerSaveMode, 0);
    EXPECT_EQ(setting.DesiredRate, "02 04 0B 16 0C 12 18 24 30 48 60 6C 00 00 00 00");
}

TEST_F(RegistryStoresTest, LastSettingWritesIntegersAsDwordsAndTextsAsStrings) {
    RegistryAppProfile profile("Tessaro", app_);
    LastSettingStore store(profile);
    EXPECT_EQ(store.WriteLastSettingInt("Domain", 0x30), 0);
    EXPECT_EQ(store.WriteLastSettingString(WepKeyValueName(256, 3), "AB"), 0);
    EXPECT_EQ(TypeOf("LastSetting", "Domain"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(TypeOf("LastSetting", "WEPKey256_3"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(TypeOf("", "Domain"), static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(store.ReadLastSettingInt("domain"), 0x30) << "value names are not case-sensitive";
}


TEST_F(RegistryStoresTest, AProfileRoundTripsAll22FieldsWithTheirTypes) {
    RegistryAppProfile profile("Tessaro", app_);
    ProfileStore store(profile);
    const WlanSetting saved = test::FullSetting(64);
    store.LinkProfile("Office");
    store.SaveProfile("Office", saved);

    WlanSetting loaded;
    store.LoadProfile("Office", loaded);
    EXPECT_EQ(loaded, saved);

    for (const char* name : {"Channel", "NetworkType", "AuthenticationMode", "WEPStatus", "WEPDefaultKeyId",
                             "WEPKeyLength", "PowerSaveMode", "PreambleMode", "Domain", "Dot1xProtocol"})
        EXPECT_EQ(TypeOf("Profile\\Office", name), static_cast<DWORD>(REG_DWORD)) << name;
    for (const char* name : {"SSID", "DesiredRate", "Dot1xPassphrase", "Dot1xUsername", "Dot1xPassword",
                             "Dot1xWPAIEs", "Dot1xCertSubject", "Dot1xCertIssuer", "WEPKey64_0", "WEPKey64_1",
                             "WEPKey64_2", "WEPKey64_3"})
        EXPECT_EQ(TypeOf("Profile\\Office", name), static_cast<DWORD>(REG_SZ)) << name;
    EXPECT_EQ(TypeOf("", "ProfileLink"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(TypeOf("Profile\\Office", "ProfileLink"), static_cast<DWORD>(REG_NONE));
}

TEST_F(RegistryStoresTest, TheChainInTheRegistry) {
    RegistryAppProfile profile("Tessaro", app_);
    ProfileStore store(profile);
    for (const char* name : {"C", "A", "B"}) store.LinkProfile(name);
    EXPECT_EQ(store.ListProfileNames(), (std::vector<std::string>{"C", "A", "B"}));
    store.UnlinkProfile("A");
    EXPECT_EQ(profile.ReadString("Profile\\C", "ProfileLink", ""), "B");

    // The registry folds case: "b" is B's key, and "c" is refused by the name check.
    EXPECT_FALSE(store.ProfileExists("c"));
    EXPECT_TRUE(store.ProfileNameTaken("c"));
    store.LinkProfile("c");
    EXPECT_EQ(store.ListProfileNames(), (std::vector<std::string>{"C", "B"}));

    // A cycle written by hand ends at the repeat; appending breaks it.
    RawString("Profile\\B", "ProfileLink", "c");
    EXPECT_EQ(store.ListProfileNames(), (std::vector<std::string>{"C", "B"}));
    store.LinkProfile("D");
    EXPECT_EQ(store.ListProfileNames(), (std::vector<std::string>{"C", "B", "D"}));

    // A name with a backslash is a nested key.
    store.LinkProfile("site\\north");
    WlanSetting setting = test::FullSetting(64);
    store.SaveProfile("site\\north", setting);
    EXPECT_EQ(TypeOf("Profile\\site\\north", "SSID"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(store.ListProfileNames().back(), "site\\north");
}

}  // namespace
}  // namespace hx::win
