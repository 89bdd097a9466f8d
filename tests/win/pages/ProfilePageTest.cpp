// The Profile page and the profile editor in-process: the list, the buttons, Add Current
// with the editor's name checks, Modify, Load, Remove, Cancel and Enter.
#include <gtest/gtest.h>

#include "config/ValueTables.h"
#include "pages/ProfileEditorModel.h"
#include "pages/win32/CPage_Profile.h"
#include "tests/fakes/SampleSetting.h"
#include "tests/win/pages/PagesTestSupport.h"

namespace hx::win {
namespace {

using Names = std::vector<std::string>;
using test::Text;

class ProfilePageTest : public ::testing::Test {
protected:
    ProfilePageTest() {
        world.state.current = test::FullSetting(64);
        world.state.current.NetworkType = NetworkType::Infrastructure;
        world.state.current.Channel = 6;
        page.AttachShell(world.shell);
        page.UseContext(world.Context());
        page.Create(host.Get());
        ::ShowWindow(page.Hwnd(), SW_SHOW);
    }
    HWND Page() const { return page.Hwnd(); }
    HWND List() const { return ::GetDlgItem(Page(), IDC_PROF_LIST); }

    Names Listed() const {
        Names names;
        const int count = static_cast<int>(::SendMessageA(List(), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256] = {};
            ::SendMessageA(List(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            names.emplace_back(text);
        }
        return names;
    }
    int Selection() const { return static_cast<int>(::SendMessageA(List(), LB_GETCURSEL, 0, 0)); }
    bool ButtonsEnabled() const {
        return test::Enabled(Page(), IDC_PROF_LOAD) && test::Enabled(Page(), IDC_PROF_MODIFY) &&
               test::Enabled(Page(), IDC_PROF_REMOVE);
    }
    WlanSetting Stored(const std::string& name) {
        WlanSetting setting;
        world.profiles.LoadProfile(name, setting);
        return setting;
    }
    void Select(const std::string& name) {
        ::SendMessageA(List(), LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
    }

    // Steps of a script that act on the open editor.
    static std::function<bool()> InEditor(std::function<void(HWND)> act) {
        return [act] {
            HWND editor = test::FindEditor();
            if (editor == nullptr || test::FindMessageBox() != nullptr) return false;
            act(editor);
            return true;
        };
    }
    // Notes a message box's text and closes it.
    static std::function<bool()> AnswerBox(std::string& text) {
        return [&text] {
            HWND box = test::FindMessageBox();
            if (box == nullptr) return false;
            text = test::MessageBoxText(box);
            ::SendMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        };
    }
    // "Add Current" with a name typed into the editor and OK.
    void AddCurrent(const std::string& name) {
        test::ModalScript script;
        script.Then(InEditor([name](HWND editor) {
            test::SetText(editor, IDC_ED_NAME, name);
            test::Click(editor, IDC_ED_OK);
        }));
        test::ClickNow(Page(), IDC_PROF_ADD);
        ASSERT_TRUE(script.Finished());
    }

    test::HostWindow host;
    test::PageWorld world;
    CPage_Profile page;
};

TEST_F(ProfilePageTest, AnEmptyStoreListsNothingAndKeepsTheButtonsDisabled) {
    page.RefreshList();
    EXPECT_TRUE(Listed().empty());
    EXPECT_FALSE(test::Enabled(Page(), IDC_PROF_LOAD));
    EXPECT_FALSE(test::Enabled(Page(), IDC_PROF_MODIFY));
    EXPECT_FALSE(test::Enabled(Page(), IDC_PROF_REMOVE));
    EXPECT_TRUE(test::Enabled(Page(), IDC_PROF_ADD));
}

TEST_F(ProfilePageTest, AddCurrentKeepsTheEditorOpenForAnEmptyOrUsedName) {
    world.profiles.LinkProfile("Home");
    world.profiles.SaveProfile("Home", test::FullSetting(128));
    page.RefreshList();

    bool nameBoxReady = false;
    std::vector<LRESULT> typingLimits;
    std::string emptyMessage, usedMessage;
    bool openAfterEmpty = false, openAfterUsed = false;
    HWND focusAfterUsed = nullptr, nameBox = nullptr;
    DWORD selectionAfterUsed = 0;
    test::ModalScript script;
    script
        .Then(InEditor([&](HWND editor) {
            nameBoxReady = test::Enabled(editor, IDC_ED_NAME) && Text(editor, IDC_ED_NAME).empty() &&
                           ::GetFocus() == ::GetDlgItem(editor, IDC_ED_NAME);
            typingLimits = {::SendDlgItemMessageA(editor, IDC_ED_NAME, EM_GETLIMITTEXT, 0, 0),
                            ::SendDlgItemMessageA(editor, IDC_ED_SSID, EM_GETLIMITTEXT, 0, 0)};
            // Enter in the name box acts as OK.
            ::PostMessageA(::GetDlgItem(editor, IDC_ED_NAME), WM_KEYDOWN, VK_RETURN, 0);
        }))
        .Then(AnswerBox(emptyMessage))
        .Then(InEditor([&](HWND editor) {
            openAfterEmpty = true;
            test::SetText(editor, IDC_ED_NAME, "HOME");
            test::Click(editor, IDC_ED_OK);
        }))
        .Then(AnswerBox(usedMessage))
        .Then(InEditor([&](HWND editor) {
            openAfterUsed = true;
            focusAfterUsed = ::GetFocus();
            nameBox = ::GetDlgItem(editor, IDC_ED_NAME);
            selectionAfterUsed = static_cast<DWORD>(::SendDlgItemMessageA(editor, IDC_ED_NAME, EM_GETSEL, 0, 0));
            test::SetText(editor, IDC_ED_NAME, "Office");
            test::Click(editor, IDC_ED_OK);
        }));
    test::ClickNow(Page(), IDC_PROF_ADD);

    ASSERT_TRUE(script.Finished()) << script.StepsDone();
    EXPECT_TRUE(nameBoxReady);
    EXPECT_EQ(typingLimits, (std::vector<LRESULT>{255, 32})) << "a key name and an SSID";
    EXPECT_EQ(emptyMessage, kProfileNameEmptyMessage);
    EXPECT_TRUE(openAfterEmpty);
    EXPECT_EQ(usedMessage, kProfileNameUsedMessage);
    EXPECT_TRUE(openAfterUsed);
    EXPECT_EQ(selectionAfterUsed, MAKELONG(0, 4)) << "the whole name selected";
    EXPECT_EQ(focusAfterUsed, nameBox);
    EXPECT_EQ(test::FindEditor(), nullptr);
    EXPECT_EQ(world.profiles.ListProfileNames(), (Names{"Home", "Office"}));
    // The editor changed nothing it showed, so the profile is the current setting with the
    // editor's rules: rate "Auto" (every supported rate) and the store's keys.
    WlanSetting expected = world.state.current;
    expected.DesiredRate = DesiredRateForPosition(world.state.supportedRates, 0);
    for (int i = 0; i < 4; ++i) expected.WEPKey[static_cast<size_t>(i)] = world.lastSetting.LoadLastWepKey(i, 64);
    EXPECT_EQ(Stored("Office"), expected);
}

TEST_F(ProfilePageTest, AddingBThenAListsAAboveBWithBSelected) {
    AddCurrent("b");
    EXPECT_EQ(Listed(), Names{"b"});
    EXPECT_TRUE(ButtonsEnabled());
    AddCurrent("a");
    EXPECT_EQ(Listed(), (Names{"a", "b"}));
    EXPECT_EQ(Selection(), 1);
    EXPECT_EQ(world.profiles.ListProfileNames(), (Names{"b", "a"})) << "the chain keeps the order of adding";
    EXPECT_EQ(world.StringValue("", "ProfileLink"), "b");
    EXPECT_EQ(world.StringValue("Profile\\b", "ProfileLink"), "a");
}

TEST_F(ProfilePageTest, CancelEscapeAndTheCloseButtonChangeNothing) {
    AddCurrent("Home");
    const int entries = world.EntryCount();
    const WlanSetting home = Stored("Home");
    const std::vector<std::function<void(HWND)>> leaves{
        [](HWND editor) { test::Click(editor, IDC_ED_CANCEL); },
        [](HWND editor) { ::PostMessageA(::GetDlgItem(editor, IDC_ED_SSID), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND editor) { ::PostMessageA(editor, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (size_t i = 0; i < leaves.size(); ++i) {
        for (int button : {IDC_PROF_ADD, IDC_PROF_MODIFY}) {
            test::ModalScript script;
            script.Then(InEditor([&](HWND editor) {
                test::SetText(editor, IDC_ED_NAME, "Other");
                test::SetText(editor, IDC_ED_SSID, "changed");
                leaves[i](editor);
            }));
            Select("Home");
            test::ClickNow(Page(), button);
            ASSERT_TRUE(script.Finished()) << i;
            EXPECT_EQ(test::FindEditor(), nullptr) << i;
            EXPECT_EQ(world.EntryCount(), entries) << i << "/" << button;
            EXPECT_EQ(Stored("Home"), home) << i << "/" << button;
            EXPECT_EQ(Listed(), Names{"Home"}) << i;
        }
    }
}

TEST_F(ProfilePageTest, ModifyThenOkRewritesTheProfileWithTheStoresKeys) {
    WlanSetting home = test::FullSetting(64);
    home.NetworkType = NetworkType::Infrastructure;
    home.Channel = 6;
    home.AuthenticationMode = AuthMode::WpaPsk;
    home.WEPStatus = WepStatus::Tkip;
    home.DesiredRate = "16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    world.profiles.LinkProfile("Home");
    world.profiles.SaveProfile("Home", home);
    world.lastSetting.WriteLastSettingString("WEPKey64_1", "0A 0B 0C 0D 0E");
    page.RefreshList();

    bool nameBoxDisabled = false, focusOnSsid = false;
    int rateShown = -1;
    std::vector<int> authAcrossModes;
    test::ModalScript script;
    script.Then(InEditor([&](HWND editor) {
        nameBoxDisabled = !test::Enabled(editor, IDC_ED_NAME) && Text(editor, IDC_ED_NAME) == "Home";
        focusOnSsid = ::GetFocus() == ::GetDlgItem(editor, IDC_ED_SSID);
        rateShown = test::Selected(editor, IDC_ED_RATE);
        // Ad hoc and back: the working copy's WPA-PSK returns, whatever was chosen meanwhile.
        test::Choose(editor, IDC_ED_MODE, 0);
        authAcrossModes.push_back(test::Selected(editor, IDC_ED_AUTH));
        test::Choose(editor, IDC_ED_AUTH, 0);
        test::Choose(editor, IDC_ED_MODE, 1);
        authAcrossModes.push_back(test::Selected(editor, IDC_ED_AUTH));
        test::SetText(editor, IDC_ED_PASSPHRASE, "abc");  // not checked here
        test::Click(editor, IDC_ED_OK);
    }));
    test::ClickNow(Page(), IDC_PROF_MODIFY);
    ASSERT_TRUE(script.Finished());

    EXPECT_TRUE(nameBoxDisabled);
    EXPECT_TRUE(focusOnSsid);
    EXPECT_EQ(rateShown, 0) << "a fixed rate shows Auto";
    EXPECT_EQ(authAcrossModes, (std::vector<int>{2, 3}));
    WlanSetting expected = home;
    expected.DesiredRate = DesiredRateForPosition(world.state.supportedRates, 0);
    expected.Dot1xPassphrase = "abc";
    expected.WEPKey = {DefaultWepKeyText(64), "0A 0B 0C 0D 0E", DefaultWepKeyText(64), DefaultWepKeyText(64)};
    EXPECT_EQ(Stored("Home"), expected);
    EXPECT_EQ(world.profiles.ListProfileNames(), Names{"Home"});
    EXPECT_EQ(world.library.CountOf("SetWL_SSID"), 0) << "modifying applies nothing";
}

TEST_F(ProfilePageTest, LoadAppliesTheProfileAndShowsLinkInfo) {
    WlanSetting cafe = test::FullSetting(128);
    cafe.SSID = "Cafe";
    world.profiles.LinkProfile("Cafe");
    world.profiles.SaveProfile("Cafe", cafe);
    page.RefreshList();
    test::ClickNow(Page(), IDC_PROF_LOAD);
    EXPECT_EQ(world.state.current, Stored("Cafe"));
    EXPECT_EQ(world.library.ssid, "Cafe");
    EXPECT_EQ(world.shell.calls, std::vector<std::string>{"ShowPage(LinkInfo)"});
}

TEST_F(ProfilePageTest, RemovingTheOnlyProfileLeavesTheButtonsEnabledAndIdle) {
    world.profiles.LinkProfile("Only");
    world.profiles.SaveProfile("Only", test::FullSetting(64));
    page.RefreshList();
    ASSERT_TRUE(ButtonsEnabled());
    test::ClickNow(Page(), IDC_PROF_REMOVE);
    EXPECT_TRUE(Listed().empty());
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_TRUE(world.profiles.ListProfileNames().empty());
    EXPECT_NE(world.TypeOf("Profile\\Only", "SSID"), static_cast<DWORD>(REG_NONE)) << "the values stay";

    const WlanSetting before = world.state.current;
    const int entries = world.EntryCount();
    test::ModalScript script;  // would close an editor that must not open
    script.Then(InEditor([](HWND editor) { test::Click(editor, IDC_ED_CANCEL); }));
    for (int button : {IDC_PROF_LOAD, IDC_PROF_MODIFY, IDC_PROF_REMOVE}) test::ClickNow(Page(), button);
    EXPECT_FALSE(script.Finished()) << "no editor opened";
    EXPECT_EQ(world.state.current, before);
    EXPECT_EQ(world.EntryCount(), entries);
    EXPECT_TRUE(world.shell.calls.empty());

    ::SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_PROF_LIST, LBN_SELCANCEL), reinterpret_cast<LPARAM>(List()));
    EXPECT_FALSE(ButtonsEnabled()) << "a selection cancel updates them";
}

}  // namespace
}  // namespace hx::win
