#include <gtest/gtest.h>

#include "config/ProfileStore.h"
#include "pages/ProfileEditorModel.h"
#include "pages/ProfilePageModel.h"
#include "tests/fakes/SampleSetting.h"
#include "tests/native/adapterops/Fixture.h"

namespace hx {
namespace {

using Names = std::vector<std::string>;

class ProfilePageModelTest : public ::testing::Test, protected test::AdapterFixture {
protected:
    ProfilePageModelTest() { state.current = test::FullSetting(128); }

    WlanSetting Stored(const std::string& name) {
        WlanSetting setting;
        profiles.LoadProfile(name, setting);
        return setting;
    }
    // Adds the current setting under a name, as "Add Current" and the editor's OK do.
    void Add(const std::string& name) {
        model.BeginAdd();
        model.Session().editedProfileName = name;
        model.FinishAdd();
    }

    ProfileStore profiles{profile};
    ProfilePageModel model{state, profiles, store, applier};
};

TEST_F(ProfilePageModelTest, AddCurrentCopiesTheWholeSettingUnderTheTypedName) {
    model.Session().editedProfileName = "left over";
    model.Session().profileEditMode = 0;
    model.BeginAdd();
    EXPECT_EQ(model.Session().editedProfileName, "");
    EXPECT_EQ(model.Session().profileEditMode, 1);
    EXPECT_EQ(state.editor, state.current);

    state.editor.SSID = "edited";
    model.Session().editedProfileName = "Home";
    model.FinishAdd();
    EXPECT_EQ(model.Names(), Names{"Home"});
    EXPECT_EQ(Stored("Home"), state.editor);
    EXPECT_EQ(state.current.SSID, "office") << "the current setting is not the editor's";
    EXPECT_TRUE(library.Calls().empty()) << "adding applies nothing";
}

TEST_F(ProfilePageModelTest, ModifyRewritesTheProfileUnderItsOwnName) {
    Add("Home");
    Add("Work");
    model.BeginModify("Home");
    EXPECT_EQ(model.Session().profileEditMode, 0);
    EXPECT_EQ(model.Session().editedProfileName, "Home");
    EXPECT_EQ(state.editor, Stored("Home"));

    state.editor.Channel = 3;
    state.editor.WEPKey[0] = "10 11 12 13 14 15 16 17 18 19 1A 1B 1C";
    model.FinishModify();
    EXPECT_EQ(Stored("Home"), state.editor);
    EXPECT_EQ(Stored("Work").Channel, 11);
    EXPECT_EQ(model.Names(), (Names{"Home", "Work"}));
}

TEST_F(ProfilePageModelTest, LoadMakesTheProfileCurrentEvenWhenApplyingFails) {
    for (bool adapterFails : {false, true}) {
        state.current = test::FullSetting(128);
        state.current.SSID = "stored";
        state.current.AuthenticationMode = AuthMode::WpaPsk;
        state.current.Dot1xPassphrase = "cafe pass phrase";
        store.WriteLastSettingString("Dot1xPassphrase", "another network's");
        profiles.SaveProfile("Cafe", state.current);
        profiles.LinkProfile("Cafe");
        state.current = test::FullSetting(64);
        library.ClearCalls();
        worker.events.clear();
        if (adapterFails) library.Fail("SetWL_NetworkType", -1);

        model.Load("Cafe");
        EXPECT_EQ(state.current, Stored("Cafe")) << adapterFails;
        EXPECT_EQ(worker.events.front(), "Stop@0") << "the worker stops before anything is applied";
        EXPECT_EQ(library.CountOf("SetWL_SSID"), adapterFails ? 0 : 1) << adapterFails;
        EXPECT_EQ(store.ReadLastSettingString("Dot1xPassphrase"), "cafe pass phrase")
            << "the next start joins with the profile's pass phrase";
        library.ClearFailures();
    }
}

TEST_F(ProfilePageModelTest, RemoveTakesTheNameOutOfTheListOnly) {
    Add("A");
    Add("B");
    model.Remove("A");
    EXPECT_EQ(model.Names(), Names{"B"});
    EXPECT_EQ(Stored("A"), state.current) << "the values stay";
    model.Remove("B");
    EXPECT_TRUE(model.Names().empty());
    model.Remove("B");
    EXPECT_TRUE(model.Names().empty());
}

TEST_F(ProfilePageModelTest, NameChecksApplyOnlyWhileAdding) {
    Add("Home");
    const struct { int mode; const char* name; const char* problem; } cases[] = {
        {1, "", kProfileNameEmptyMessage},
        {1, "Home", kProfileNameUsedMessage},
        {1, "HOME", kProfileNameUsedMessage},   // the same registry key
        {1, "Home ", nullptr},                  // taken as typed, not trimmed
        {1, "Office", nullptr},
        {0, "", nullptr},
        {0, "Home", nullptr},
    };
    for (const auto& c : cases) {
        ProfileEditSession session;
        session.profileEditMode = c.mode;
        const char* problem = ProfileNameProblem(session, c.name, profiles);
        EXPECT_STREQ(problem, c.problem) << c.mode << " '" << c.name << "'";
    }
}

}  // namespace
}  // namespace hx
