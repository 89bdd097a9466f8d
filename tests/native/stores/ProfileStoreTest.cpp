#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/MemoryAppProfile.h"
#include "config/ProfileStore.h"
#include "tests/fakes/SampleSetting.h"

namespace hx {
namespace {

using Names = std::vector<std::string>;

class ProfileStoreTest : public ::testing::Test {
protected:
    std::string AppLink() { return profile_.ReadString("", "ProfileLink", "<missing>"); }
    std::string LinkOf(const std::string& name) {
        return profile_.ReadString("Profile\\" + name, "ProfileLink", "<missing>");
    }
    // A chain written as another tool might leave it.
    void Chain(const Names& links) {
        profile_.SetValue("", "ProfileLink", links.front());
        for (size_t i = 0; i + 1 < links.size(); ++i) profile_.SetValue("Profile\\" + links[i], "ProfileLink", links[i + 1]);
    }

    MemoryAppProfile profile_;
    ProfileStore store_{profile_};
};

TEST_F(ProfileStoreTest, EmptyStore) {
    std::string name = "stale";
    EXPECT_FALSE(store_.GetFirstProfileName(name));
    EXPECT_EQ(name, "");
    EXPECT_TRUE(store_.ListProfileNames().empty());
    EXPECT_FALSE(store_.ProfileExists("A"));
    EXPECT_EQ(store_.UnlinkProfile("A"), 0);

    EXPECT_EQ(store_.LinkProfile("A"), 1);
    EXPECT_EQ(AppLink(), "A");
    EXPECT_EQ(store_.ListProfileNames(), Names{"A"});
}

TEST_F(ProfileStoreTest, ChainKeepsTheOrderOfAddingThroughRemovals) {
    for (const char* name : {"C", "A", "B"}) store_.LinkProfile(name);
    EXPECT_EQ(store_.ListProfileNames(), (Names{"C", "A", "B"}));
    EXPECT_EQ(AppLink(), "C");
    EXPECT_EQ(LinkOf("C"), "A");
    EXPECT_EQ(LinkOf("A"), "B");
    EXPECT_EQ(LinkOf("B"), "<missing>");
    std::string next;
    EXPECT_TRUE(store_.GetNextProfileName("C", next));
    EXPECT_EQ(next, "A");
    EXPECT_FALSE(store_.GetNextProfileName("B", next));

    EXPECT_EQ(store_.UnlinkProfile("A"), 1);
    EXPECT_EQ(LinkOf("C"), "B");
    EXPECT_EQ(store_.ListProfileNames(), (Names{"C", "B"}));
    EXPECT_EQ(store_.UnlinkProfile("A"), 0);

    EXPECT_EQ(store_.UnlinkProfile("C"), 1);
    EXPECT_EQ(AppLink(), "B");
    EXPECT_EQ(store_.UnlinkProfile("B"), 1);
    EXPECT_EQ(AppLink(), "");
    EXPECT_TRUE(store_.ListProfileNames().empty());
    // Unlinked profiles keep their values; only the chain no longer reaches them.
    EXPECT_EQ(LinkOf("A"), "B");
}

TEST_F(ProfileStoreTest, ARemovedNameAddedAgainEndsTheList) {
    for (const char* name : {"A", "B", "C"}) store_.LinkProfile(name);
    WlanSetting old;
    old.SSID = "old";
    store_.SaveProfile("A", old);
    store_.UnlinkProfile("A");
    EXPECT_EQ(LinkOf("A"), "B");  // left over from its earlier life

    store_.LinkProfile("A");
    WlanSetting fresh;
    fresh.SSID = "fresh";
    store_.SaveProfile("A", fresh);
    EXPECT_EQ(store_.ListProfileNames(), (Names{"B", "C", "A"}));
    EXPECT_EQ(LinkOf("A"), "<missing>");
    WlanSetting loaded;
    store_.LoadProfile("A", loaded);
    EXPECT_EQ(loaded.SSID, "fresh");
}

TEST_F(ProfileStoreTest, LetterCaseNamesTheSameKey) {
    store_.LinkProfile("Home");
    store_.LinkProfile("Work");
    EXPECT_TRUE(store_.ProfileExists("Home"));
    EXPECT_FALSE(store_.ProfileExists("home"));
    EXPECT_FALSE(store_.ProfileExists("HOME"));

    const struct {
        const char* name;
        bool taken;
    } cases[] = {{"Home", true}, {"home", true}, {"WORK", true}, {"Home\\", true},
                 {"Home ", false}, {"Hom", false}, {"Office", false}};
    for (const auto& c : cases) EXPECT_EQ(store_.ProfileNameTaken(c.name), c.taken) << c.name;

    // Linking "home" would otherwise end the chain at Home and lose Work.
    EXPECT_EQ(store_.LinkProfile("home"), 1);
    EXPECT_EQ(store_.ListProfileNames(), (Names{"Home", "Work"}));
    EXPECT_EQ(LinkOf("Home"), "Work");
}

TEST_F(ProfileStoreTest, CyclesEndAtTheRepeatedName) {
    const struct {
        Names chain;  // app link first, then each profile's link in turn
        Names listed;
    } cases[] = {
        {{"A", "B", "A"}, {"A", "B"}},
        {{"A", "A"}, {"A"}},
        {{"A", "B", "C", "b"}, {"A", "B", "C"}},  // "b" is B's key
    };
    for (const auto& c : cases) {
        MemoryAppProfile profile;
        ProfileStore store(profile);
        profile.SetValue("", "ProfileLink", c.chain.front());
        for (size_t i = 0; i + 1 < c.chain.size(); ++i)
            profile.SetValue("Profile\\" + c.chain[i], "ProfileLink", c.chain[i + 1]);

        EXPECT_EQ(store.ListProfileNames(), c.listed);
        EXPECT_FALSE(store.ProfileExists("Z"));
        EXPECT_EQ(store.UnlinkProfile("Z"), 0);
        // Appending goes after the last name listed, which breaks the cycle.
        store.LinkProfile("Z");
        Names withZ = c.listed;
        withZ.push_back("Z");
        EXPECT_EQ(store.ListProfileNames(), withZ);
    }
}

TEST_F(ProfileStoreTest, UnlinkingInsideACycleLeavesAnEndedChain) {
    Chain({"A", "B", "A"});
    EXPECT_EQ(store_.UnlinkProfile("B"), 1);
    EXPECT_EQ(LinkOf("A"), "");
    EXPECT_EQ(store_.ListProfileNames(), Names{"A"});
}

TEST_F(ProfileStoreTest, ADanglingLinkEndsTheChainAtTheMissingProfile) {
    Chain({"A", "Gone"});
    EXPECT_EQ(store_.ListProfileNames(), (Names{"A", "Gone"}));
    EXPECT_TRUE(store_.ProfileExists("Gone"));
    WlanSetting loaded;
    store_.LoadProfile("Gone", loaded);
    EXPECT_EQ(loaded.Channel, -1);
    EXPECT_EQ(store_.UnlinkProfile("Gone"), 1);
    EXPECT_EQ(LinkOf("A"), "");
}

TEST_F(ProfileStoreTest, ABackslashInANameNamesANestedKey) {
    store_.LinkProfile("lab\\west");
    WlanSetting setting;
    setting.SSID = "west wing";
    store_.SaveProfile("lab\\west", setting);
    ASSERT_NE(profile_.Find("Profile\\lab\\west", "SSID"), nullptr);
    EXPECT_EQ(profile_.Find("Profile\\lab", "SSID"), nullptr);
    EXPECT_EQ(store_.ListProfileNames(), Names{"lab\\west"});
    EXPECT_TRUE(store_.ProfileNameTaken("LAB\\WEST"));
}


TEST_F(ProfileStoreTest, SaveAndLoadCarryAll22Fields) {
    const WlanSetting saved = test::FullSetting();
    store_.SaveProfile("Office", saved);
    EXPECT_EQ(profile_.ValueCount(), 22u);
    EXPECT_NE(profile_.Find("Profile\\Office", "WEPKey128_3"), nullptr);
    EXPECT_EQ(profile_.Find("", "ProfileLink"), nullptr) << "saving does not touch the chain";

    WlanSetting loaded;
    store_.LoadProfile("Office", loaded);
    EXPECT_EQ(loaded, saved);
}

TEST_F(ProfileStoreTest, LoadTakesValuesAsStored) {
    // Missing values load as -1 and empty; with no key length the keys are looked up
    // under the -1 names, which are empty too.
    store_.WriteProfileValueString("P", "SSID", std::string(40, 's'));
    store_.WriteProfileValueInt("P", "Channel", 99);
    store_.WriteProfileValueString("P", "NetworkType", "1");  // wrong type
    store_.WriteProfileValueString("P", "WEPKey64_0", "AA BB CC DD EE");
    store_.WriteProfileValueString("P", "DesiredRate", std::string(120, '0'));
    WlanSetting loaded = test::FullSetting();
    store_.LoadProfile("P", loaded);

    WlanSetting expected;
    expected.SSID = std::string(32, 's');
    expected.Channel = 99;
    expected.DesiredRate = std::string(99, '0');
    for (int* field : {&expected.NetworkType, &expected.AuthenticationMode, &expected.WEPStatus,
                       &expected.WEPDefaultKeyId, &expected.WEPKeyLength, &expected.PowerSaveMode,
                       &expected.PreambleMode, &expected.Domain, &expected.Dot1xProtocol})
        *field = -1;
    EXPECT_EQ(loaded, expected);
}

TEST_F(ProfileStoreTest, ValueAccessReportsFailedWrites) {
    EXPECT_EQ(store_.WriteProfileValueInt("P", "Channel", 3), 0);
    EXPECT_EQ(store_.ReadProfileValueInt("P", "Channel"), 3);
    EXPECT_EQ(store_.ReadProfileValueInt("P", "Domain"), -1);
    profile_.SetWritesFail(true);
    EXPECT_EQ(store_.WriteProfileValueInt("P", "Channel", 4), -1);
    EXPECT_EQ(store_.WriteProfileValueString("P", "SSID", "x"), -1);
    EXPECT_EQ(store_.ReadProfileValueInt("P", "Channel"), 3);
}

}  // namespace
}  // namespace hx
