// Profiles kept across a restart of the utility, and Rescan on Link Info with a driver call
// failing in the middle of its apply.
#include <map>
#include <thread>

#include "tests/win/e2e_journeys/PageJourney.h"

namespace hx::test {
namespace {

// The values a profile key holds, with their registry types.
constexpr const char* kProfileNumbers[] = {"Channel", "NetworkType", "AuthenticationMode", "WEPStatus",
                                           "WEPDefaultKeyId", "WEPKeyLength", "PowerSaveMode", "PreambleMode",
                                           "Domain", "Dot1xProtocol"};
constexpr const char* kProfileTexts[] = {"SSID", "DesiredRate", "Dot1xPassphrase", "Dot1xUsername",
                                         "Dot1xPassword", "Dot1xWPAIEs", "Dot1xCertSubject", "Dot1xCertIssuer",
                                         "WEPKey64_0", "WEPKey64_1", "WEPKey64_2", "WEPKey64_3"};

// Every value of a profile's key, as "name=type:value" entries.
std::map<std::string, std::string> ProfileValues(const std::string& name) {
    std::map<std::string, std::string> values;
    const std::string section = "Profile\\" + name;
    for (const char* n : kProfileNumbers) {
        const auto v = ReadStored(section, n);
        values[n] = v ? std::to_string(v->type) + ":" + std::to_string(v->number) : "missing";
    }
    for (const char* n : kProfileTexts) {
        const auto v = ReadStored(section, n);
        values[n] = v ? std::to_string(v->type) + ":" + v->text : "missing";
    }
    return values;
}

class Profiles : public PageJourney {
protected:
    // "Add Current" on the Profile page, named in the editor and kept with OK.
    void AddCurrent(const std::string& name) {
        ASSERT_TRUE(Show(IDC_NAV_PROFILE, ProfilePage()));
        HWND list = ::GetDlgItem(ProfilePage(), IDC_PROF_LIST);
        const LRESULT listed = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
        ClickButton(ProfilePage(), IDC_PROF_ADD);
        HWND editor = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (editor = ProcessDialogHolding(utility.ProcessId(), IDC_ED_NAME, window)) != nullptr; }, 3s));
        EXPECT_EQ(Text(::GetDlgItem(editor, IDC_ED_NAME)), "") << "a new profile has no name yet";
        SetControlText(editor, IDC_ED_NAME, name);
        ClickButton(editor, IDC_ED_OK);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(editor); }, 3s));
        // The page stores the profile once the editor has closed, then lists it.
        ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(list, LB_GETCOUNT, 0, 0) == listed + 1; }, 3s));
    }
};

TEST_F(Profiles, SurviveARestartAndLoadAsTheyWereSaved) {
    ASSERT_NO_FATAL_FAILURE(StartAndOpen());
    // The office network, joined with its pass phrase, kept as "Office".
    ASSERT_NO_FATAL_FAILURE(ConnectTo("WPA-AES-Office"));
    AnswerQuestion("Use Previous WPA Setting", IDNO);
    ASSERT_TRUE(WaitFor([&] { return InFront(EncryptionPage()); }, 3s));
    SetControlText(EncryptionPage(), IDC_WEP_PASSPHRASE, "aes-passphrase");
    ASSERT_NO_FATAL_FAILURE(ApplyEncryption());
    ASSERT_TRUE(Authorised("WPA-AES-Office", 20s)) << SimCommand("events");
    ASSERT_NO_FATAL_FAILURE(AddCurrent("Office"));
    // The lobby, joined from the Site Survey, kept as "Lobby".
    ASSERT_NO_FATAL_FAILURE(ConnectTo("Open-Lobby"));
    ASSERT_TRUE(Joined("Open-Lobby", 10s));
    ASSERT_NO_FATAL_FAILURE(AddCurrent("Lobby"));

    // Chained in the order they were added; every field under its own name and type.
    EXPECT_EQ(StoredText("", "ProfileLink"), "Office");
    EXPECT_EQ(StoredText("Profile\\Office", "ProfileLink"), "Lobby");
    EXPECT_FALSE(ReadStored("Profile\\Lobby", "ProfileLink").has_value()) << "the last profile ends the chain";
    const auto office = ProfileValues("Office");
    const auto lobby = ProfileValues("Lobby");
    for (const char* n : kProfileNumbers) EXPECT_EQ(office.at(n).substr(0, 2), "4:") << n;  // REG_DWORD
    for (const char* n : kProfileTexts) EXPECT_EQ(office.at(n).substr(0, 2), "1:") << n;    // REG_SZ
    EXPECT_EQ(office.at("SSID"), "1:WPA-AES-Office");
    EXPECT_EQ(office.at("AuthenticationMode"), "4:4");
    EXPECT_EQ(office.at("WEPStatus"), "4:6");
    EXPECT_EQ(office.at("Dot1xPassphrase"), "1:aes-passphrase") << "kept as plain text";
    EXPECT_EQ(office.at("Dot1xWPAIEs").substr(0, 4), "1:DD") << "the element the worker read";
    EXPECT_EQ(lobby.at("SSID"), "1:Open-Lobby");
    EXPECT_EQ(lobby.at("WEPStatus"), "4:1");

    EXPECT_GE(ExitThroughTray().count(), 0);
    // Meanwhile the pass phrase in force became another network's.
    ASSERT_TRUE(SeedText("LastSetting", "Dot1xPassphrase", "tkip-passphrase"));

    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(Joined("Open-Lobby", 10s)) << "the last setting is applied at start";
    ASSERT_TRUE(OpenFromTray(window, 5s));
    ASSERT_TRUE(Show(IDC_NAV_PROFILE, ProfilePage()));
    HWND list = ::GetDlgItem(ProfilePage(), IDC_PROF_LIST);
    ASSERT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(ProfileValues("Office"), office) << "nothing rewritten by the restart";
    EXPECT_EQ(ProfileValues("Lobby"), lobby);

    // The list is sorted: "Lobby", then "Office".
    ::SendMessageA(list, LB_SETCURSEL, 1, 0);
    ClickButton(ProfilePage(), IDC_PROF_LOAD);
    EXPECT_TRUE(WaitFor([&] { return InFront(LinkInfoPage()); }, 3s)) << "Load shows Link Info";
    EXPECT_TRUE(Authorised("WPA-AES-Office", 20s)) << "with the profile's own pass phrase\n" << SimCommand("events");
    EXPECT_EQ(SimState("link.pairwise-cipher"), "ccmp");
    EXPECT_EQ(StoredText("LastSetting", "SSID"), "WPA-AES-Office");
    EXPECT_EQ(StoredNumber("LastSetting", "WEPStatus"), 6u);
    ASSERT_TRUE(Show(IDC_NAV_CONFIGURATION, ConfigPage()));
    EXPECT_EQ(Text(::GetDlgItem(ConfigPage(), IDC_CFG_SSID)), "WPA-AES-Office");
}

// Rescan applies the whole setting again. A call failing in the middle stops it there: the
// worker it stopped is not started again (the Zero Configuration service it had stopped runs
// again) and no message is shown; once the driver takes the call again, the heartbeat
// completes the apply by itself.
class Rescan : public PageJourney {};

TEST_F(Rescan, AFailedCallStopsTheApplyAndTheHeartbeatCompletesIt) {
    SeedWpaPsk(kWpaTkipSsid, kWpaTkipPassphrase, 4);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(Authorised(kWpaTkipSsid, 20s)) << SimCommand("events");
    ASSERT_TRUE(OpenFromTray(window, 5s));
    ASSERT_TRUE(InFront(LinkInfoPage()));
    EXPECT_EQ(CountAfter(SimState("wzc.service"), "stopped"), 1);
    ASSERT_TRUE(SeedNumber("LastSetting", "PreambleMode", 2));  // differs from the setting in force

    ASSERT_TRUE(SimOk("fail SetWL_SSID always"));
    ClickButton(LinkInfoPage(), IDC_LI_RESCAN);
    EXPECT_TRUE(WaitFor([] { return CountAfter(SimState("wzc.service"), "started") == 1; }, 3s))
        << "the worker was stopped: " << SimState("wzc.service");
    std::this_thread::sleep_for(2s);  // the heartbeat's tries stop at the same call
    const std::string service = SimState("wzc.service");
    EXPECT_EQ(service.substr(0, 7), "running") << "no worker was started again: " << service;
    EXPECT_EQ(CountAfter(service, "stopped"), 1) << service;
    EXPECT_EQ(StoredNumber("LastSetting", "PreambleMode"), 2u) << "steps after the failure are not stored";
    EXPECT_EQ(ProcessDialogHolding(utility.ProcessId(), 0xFFFF, window), nullptr) << "no message";
    EXPECT_TRUE(InFront(LinkInfoPage()));

    ASSERT_TRUE(SimOk("fail SetWL_SSID off"));
    EXPECT_TRUE(WaitFor([] { return CountAfter(SimState("wzc.service"), "stopped") == 2; }, 8s)) << SimState("wzc.service");
    EXPECT_TRUE(WaitFor([] { return StoredNumber("LastSetting", "PreambleMode") == 0; }, 3s));
    EXPECT_TRUE(Authorised(kWpaTkipSsid, 20s)) << SimCommand("events");
}

}  // namespace
}  // namespace hx::test
