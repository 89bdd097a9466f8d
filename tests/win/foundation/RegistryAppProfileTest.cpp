#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "config/win32/RegistryAppProfile.h"

namespace hx::win {
namespace {

class RegistryAppProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = "HxRegistryTest" + std::to_string(::GetCurrentProcessId());
        ::RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Tessaro\\" + app_).c_str());
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Tessaro\\" + app_).c_str()); }

    // The raw value as the registry holds it: its type and size, or false when missing.
    bool RawValue(const std::string& subKey, const char* name, DWORD& type, DWORD& size) {
        HKEY key = nullptr;
        const std::string path = "Software\\Tessaro\\" + app_ + (subKey.empty() ? "" : "\\" + subKey);
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        size = 0;
        const bool found = ::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
        ::RegCloseKey(key);
        return found;
    }

    std::string app_;
};

TEST_F(RegistryAppProfileTest, TypedValuesInTheApplicationKeyAndItsSections) {
    RegistryAppProfile profile("Tessaro", app_);
    EXPECT_EQ(profile.ApplicationKeyPath(), "Software\\Tessaro\\" + app_);

    // Missing values read as the default.
    EXPECT_EQ(profile.ReadInt("", "WepKeyFormat", 0), 0);
    EXPECT_EQ(profile.ReadString("LastSetting\\", "SSID", "none"), "none");

    EXPECT_TRUE(profile.WriteInt("", "WepKeyFormat", 1));
    EXPECT_TRUE(profile.WriteInt("LastSetting\\", "Channel", -5));
    EXPECT_TRUE(profile.WriteString("LastSetting\\", "SSID", "home net"));
    EXPECT_TRUE(profile.WriteString("Profile\\Office", "SSID", "work"));
    EXPECT_TRUE(profile.WriteString("", "ProfileLink", ""));

    EXPECT_EQ(profile.ReadInt("", "WepKeyFormat", 0), 1);
    EXPECT_EQ(profile.ReadInt("LastSetting\\", "Channel", 0), -5);
    EXPECT_EQ(profile.ReadString("LastSetting\\", "SSID", ""), "home net");
    EXPECT_EQ(profile.ReadString("Profile\\Office\\", "SSID", ""), "work");
    EXPECT_EQ(profile.ReadString("", "ProfileLink", "missing"), "");

    // Where and how the registry holds them.
    DWORD type = 0, size = 0;
    ASSERT_TRUE(RawValue("", "WepKeyFormat", type, size));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_TRUE(RawValue("LastSetting", "SSID", type, size));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 9u);
    ASSERT_TRUE(RawValue("Profile\\Office", "SSID", type, size));
    EXPECT_FALSE(RawValue("", "SSID", type, size));
}

TEST_F(RegistryAppProfileTest, AValueOfTheOtherTypeReadsAsMissing) {
    RegistryAppProfile profile("Tessaro", app_);
    EXPECT_TRUE(profile.WriteString("LastSetting\\", "Channel", "11"));
    EXPECT_TRUE(profile.WriteInt("LastSetting\\", "SSID", 7));
    EXPECT_EQ(profile.ReadInt("LastSetting\\", "Channel", -1), -1);
    EXPECT_EQ(profile.ReadString("LastSetting\\", "SSID", ""), "");

    // A binary value of DWORD size is not an integer either.
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\Tessaro\\" + app_ + "\\LastSetting").c_str(),
                                0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    const DWORD four = 4;
    ::RegSetValueExA(key, "Domain", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&four), sizeof four);
    // A string stored without its terminating zero still reads whole.
    ::RegSetValueExA(key, "DesiredRate", 0, REG_SZ, reinterpret_cast<const BYTE*>("02 04"), 5);
    ::RegCloseKey(key);
    EXPECT_EQ(profile.ReadInt("LastSetting\\", "Domain", -1), -1);
    EXPECT_EQ(profile.ReadString("LastSetting\\", "DesiredRate", ""), "02 04");
}

TEST_F(RegistryAppProfileTest, DeleteRemovesOneValue) {
    RegistryAppProfile profile("Tessaro", app_);
    EXPECT_FALSE(profile.DeleteValue("Profile\\A", "ProfileLink"));  // no key yet
    EXPECT_TRUE(profile.WriteString("Profile\\A", "ProfileLink", "B"));
    EXPECT_TRUE(profile.WriteString("Profile\\A", "SSID", "a"));
    EXPECT_TRUE(profile.DeleteValue("Profile\\A", "ProfileLink"));
    EXPECT_FALSE(profile.DeleteValue("Profile\\A", "ProfileLink"));
    EXPECT_EQ(profile.ReadString("Profile\\A", "ProfileLink", "gone"), "gone");
    EXPECT_EQ(profile.ReadString("Profile\\A", "SSID", ""), "a");
}

TEST(ApplicationName, IsTheExecutableNameWithoutExtension) {
    EXPECT_EQ(ApplicationNameFromModule(nullptr), "win_foundation");
}

}  // namespace
}  // namespace hx::win
