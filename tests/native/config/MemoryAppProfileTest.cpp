#include <gtest/gtest.h>

#include "config/LastSettingStore.h"
#include "config/MemoryAppProfile.h"

namespace hx {
namespace {

TEST(Sections, PathsAreNormalised) {
    const struct { const char* in; const char* out; } cases[] = {
        {"", ""}, {"LastSetting\\", "LastSetting"}, {"Profile\\Home", "Profile\\Home"},
        {"\\a\\\\b\\", "a\\b"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormaliseSection(c.in), c.out) << c.in;
}

TEST(MemoryAppProfile, TypedValuesWithRegistryNameRules) {
    MemoryAppProfile profile;
    EXPECT_TRUE(profile.WriteInt("LastSetting\\", "Channel", 11));
    EXPECT_TRUE(profile.WriteString("", "ProfileLink", "Home"));
    EXPECT_EQ(profile.ReadInt("LastSetting", "channel", -1), 11);   // names fold case
    EXPECT_EQ(profile.ReadString("LASTSETTING\\", "Channel", "x"), "x");  // wrong type
    EXPECT_EQ(profile.ReadInt("", "ProfileLink", -7), -7);
    EXPECT_EQ(profile.ReadString("", "profilelink", ""), "Home");
    EXPECT_TRUE(profile.DeleteValue("", "ProfileLink"));
    EXPECT_FALSE(profile.DeleteValue("", "ProfileLink"));
    EXPECT_EQ(profile.ReadString("", "ProfileLink", "none"), "none");
    // A zero byte ends a key name, a value name and a text, as in the registry.
    EXPECT_TRUE(profile.WriteString(std::string("Profile\\Home\0x", 14), std::string("SSID\0y", 6), std::string("a\0b", 3)));
    EXPECT_EQ(profile.ReadString("Profile\\Home", "SSID", "none"), "a");
    profile.SetWritesFail(true);
    EXPECT_FALSE(profile.WriteInt("", "WepKeyFormat", 1));
    EXPECT_EQ(profile.ReadInt("", "WepKeyFormat", 0), 0);
}

TEST(LastSettingStore, ValuesLiveInTheLastSettingSection) {
    MemoryAppProfile profile;
    LastSettingStore store(profile);
    EXPECT_EQ(store.ReadLastSettingInt("Channel"), -1);
    EXPECT_EQ(store.ReadLastSettingString("SSID"), "");
    EXPECT_EQ(store.WriteLastSettingInt("Channel", 3), 0);
    EXPECT_EQ(store.WriteLastSettingString("SSID", "home"), 0);
    EXPECT_EQ(profile.ReadInt("LastSetting", "Channel", 0), 3);
    EXPECT_EQ(store.ReadLastSettingString("SSID"), "home");
    profile.SetWritesFail(true);
    EXPECT_EQ(store.WriteLastSettingInt("Channel", 4), -1);
    EXPECT_EQ(store.ReadLastSettingInt("Channel"), 3);
    EXPECT_EQ(WepKeyValueName(128, 2), "WEPKey128_2");
    EXPECT_EQ(WepKeyValueName(-1, 0), "WEPKey-1_0");
}

}  // namespace
}  // namespace hx
