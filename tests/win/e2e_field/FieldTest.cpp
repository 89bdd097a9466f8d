// Field conditions: the utility in worlds as people meet them, driven from outside and
// judged by what the user sees (survey rows, Link Info, the tray icon) and by the port
// the simulated access point opens or keeps shut.
#include <map>

#include "app/TrayRule.h"
#include "auth/AuthWorker.h"
#include "pages/SurveyList.h"
#include "sim/core/DefaultWorld.h"
#include "tests/fakes/CrowdedStreet.h"
#include "tests/win/common/ConsoleProgram.h"
#include "tests/win/e2e_field/FieldWorlds.h"
#include "tests/win/e2e_journeys/PageJourney.h"

namespace hx::test {
namespace {

std::string Dashed(std::string address) {
    for (char& c : address) c = c == ':' ? '-' : c;
    return address;
}

class Field : public PageJourney {
protected:
    std::string LinkInfoText(int id) const { return Text(::GetDlgItem(LinkInfoPage(), id)); }
    // Link Info shows this SSID and status within the limit.
    bool LinkInfoShows(const std::string& ssid, const std::string& status, std::chrono::milliseconds limit) const {
        return WaitFor([&] { return LinkInfoText(IDC_LI_SSID) == ssid && LinkInfoText(IDC_LI_STATUS) == status; },
                       limit);
    }
    std::string LinkInfoNow() const { return LinkInfoText(IDC_LI_SSID) + " | " + LinkInfoText(IDC_LI_STATUS); }

    // How long the main window takes to answer a message (60 s when it does not).
    std::chrono::milliseconds ReplyTime() const {
        const auto sent = std::chrono::steady_clock::now();
        DWORD_PTR result = 0;
        if (::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) == 0) return 60000ms;
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent);
    }

    // A right click on the tray icon and "Exit" chosen from its menu with the keyboard; how
    // long the process took to end after the choice, or -1 ms.
    std::chrono::milliseconds ExitThroughTrayMenu() {
        HWND menu = OpenTrayMenu(window, utility.ProcessId());
        if (menu == nullptr) return std::chrono::milliseconds(-1);
        const auto chosen = std::chrono::steady_clock::now();
        ChooseTrayMenuItem(menu, TrayMenuItem::Exit);
        if (!utility.WaitForExit(10s)) return std::chrono::milliseconds(-1);
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - chosen);
    }

    // A last setting for an EAP-TLS join of the enterprise network with this certificate.
    static void SeedEapTls(const std::string& subject) {
        ASSERT_TRUE(SeedNumber("LastSetting", "NetworkType", 1));
        ASSERT_TRUE(SeedNumber("LastSetting", "AuthenticationMode", 3));
        ASSERT_TRUE(SeedNumber("LastSetting", "WEPStatus", 4));
        ASSERT_TRUE(SeedNumber("LastSetting", "Dot1xProtocol", 0));
        ASSERT_TRUE(SeedText("LastSetting", "SSID", "WPA-Enterprise"));
        ASSERT_TRUE(SeedText("LastSetting", "Dot1xUsername", "hxuser"));
        ASSERT_TRUE(SeedText("LastSetting", "Dot1xCertSubject", subject));
        ASSERT_TRUE(SeedText("LastSetting", "Dot1xCertIssuer", "CN=HX Test Root CA"));
    }

    // Starts with a last setting that joins nothing and opens the window once the adapter is
    // ready: the window shows for a moment at start whether or not there is one.
    void StartAndOpenWhenReady() {
        ASSERT_TRUE(SeedText("LastSetting", "SSID", "Nowhere"));
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_TRUE(WaitFor([&] { return !Visible() && TraySetOnScreen() > 0; }, 15s)) << "the adapter was never ready";
        ASSERT_TRUE(OpenFromTray(window, 5s));
    }

    // On the Site Survey page: Connect on the network, "No" to the question, the pass phrase
    // typed on the Encryption page with the entries Connect chose, and Apply.
    void JoinTyping(const std::string& ssid, const std::string& passphrase) {
        ASSERT_NO_FATAL_FAILURE(ConnectTo(ssid));
        EXPECT_NE(AnswerQuestion("Use Previous WPA Setting", IDNO), "(no question)");
        ASSERT_TRUE(WaitFor([&] { return InFront(EncryptionPage()); }, 3s)) << "No opens the Encryption page";
        EXPECT_EQ(::SendDlgItemMessageA(EncryptionPage(), IDC_WEP_AUTH, CB_GETCURSEL, 0, 0), 4) << "WPA2-PSK";
        SetControlText(EncryptionPage(), IDC_WEP_PASSPHRASE, passphrase);
        ASSERT_NO_FATAL_FAILURE(ApplyEncryption());
    }
    // What a refused Connect must leave as it was: the stored setting and the adapter's link.
    std::string SettingAndLink() const {
        std::string state;
        for (const char* value : {"SSID", "Dot1xPassphrase"}) state += StoredText("LastSetting", value) + "|";
        for (const char* value : {"AuthenticationMode", "WEPStatus"})
            state += std::to_string(StoredNumber("LastSetting", value)) + "|";
        return state + SimState("settings.ssid") + "|" + SimState("link.ssid") + "|" + SimState("port.authorised");
    }

    ScenarioFile world;
};

// How the street's networks are listed (hxctl's names); the twelve neighbours not named
// here are WPA2-PSK with AES.
const std::map<std::string, std::string> kStreetKinds = {
    {"Open-Lobby", "open"},        {"WEP-Lab", "WEP"},
    {"WPA-TKIP-Home", "WPA-PSK TKIP"}, {"WPA-AES-Office", "WPA-PSK AES"},
    {"WPA-Enterprise", "WPA TKIP"},    {"RSN-Only", "WPA2-PSK AES"},
    {"Mixed-WPA-WPA2", "WPA2-PSK AES"}, {"WPA3-Transition", "WPA2-PSK AES"},
    {"WPA3-Only", "WPA3-SAE"},         {"WPA2-Enterprise", "WPA2 AES"},
    {"AdHoc-Cell", "open"},
};

// About 150 networks in range, the strongest heard on two channels: the stored WPA-PSK
// setting joins its network among them, and the Site Survey lists each access point once,
// on its own channel.
TEST_F(Field, CrowdedStreet) {
    ASSERT_TRUE(EnterWorld(world, "crowded-street"));
    SeedWpaPsk("WPA-AES-Office", "aes-passphrase", 6);
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(Authorised("WPA-AES-Office", 20s)) << SimCommand("events");

    ASSERT_TRUE(OpenFromTray(window, 10s));
    ASSERT_TRUE(Show(IDC_NAV_SITE_SURVEY, SitePage()));
    HWND list = ::GetDlgItem(SitePage(), IDC_SITE_LIST);
    RemoteListView rows(list);
    ASSERT_TRUE(rows.Usable());
    const int expected = kDefaultWorldAccessPoints + kCrowdedStreetNetworks;
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(list) && rows.Count() >= expected; }, 15s))
        << rows.Count() << " rows listed";
    std::map<std::string, std::pair<std::string, std::string>> listed;  // BSSID: SSID, channel
    for (int r = 0; r < rows.Count(); ++r) listed[rows.Text(r, 0)] = {rows.Text(r, 1), rows.Text(r, 4)};
    EXPECT_EQ(rows.Count(), expected);
    EXPECT_EQ(static_cast<int>(listed.size()), rows.Count()) << "an access point listed twice";
    int missing = 0;
    for (int i = 0; i < kCrowdedStreetNetworks; ++i) {
        const auto row = listed.find(CrowdedStreetBssid(i));
        if (row == listed.end()) {
            ++missing;
            continue;
        }
        EXPECT_EQ(row->second, std::make_pair(CrowdedStreetSsid(i), std::to_string(CrowdedStreetChannel(i))));
    }
    EXPECT_EQ(missing, 0) << "street networks not listed";
}

// An EAP-TLS join from the stored setting: the port opens and Link Info shows the network.
TEST_F(Field, EnterpriseFloorTlsJoin) {
    ASSERT_TRUE(EnterWorld(world, "enterprise-floor"));
    ASSERT_NO_FATAL_FAILURE(SeedEapTls("CN=HX Test User"));
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(Authorised("WPA-Enterprise", 30s)) << SimCommand("show") << SimCommand("events");
    EXPECT_EQ(ProcessDialog(utility.ProcessId(), "HX88UUtil"), nullptr) << "the key is exportable: no message";
    EXPECT_TRUE(LinkInfoShows("WPA-Enterprise", "Associated BSSID = 06-A0-88-00-00-05", 3s)) << LinkInfoNow();
}

// A certificate whose key may not be exported: the user is told so, and Exit from the tray
// menu ends the utility at once while the message is still open.
TEST_F(Field, EnterpriseFloorLockedKey) {
    ASSERT_TRUE(EnterWorld(world, "enterprise-floor"));
    ASSERT_NO_FATAL_FAILURE(SeedEapTls("CN=HX Locked User"));
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND box = WaitForProcessDialog(utility.ProcessId(), "HX88UUtil", 20s);
    ASSERT_NE(box, nullptr) << SimCommand("events");
    EXPECT_EQ(MessageBoxText(box), kCertificateExportFailureText);
    EXPECT_NE(SimState("port.authorised"), "yes");

    ASSERT_TRUE(::IsWindowVisible(box)) << "the message is still up";
    const auto took = ExitThroughTrayMenu();
    std::printf("ended %lld ms after Exit\n", static_cast<long long>(took.count()));
    ASSERT_GE(took.count(), 0) << "no tray menu, or the utility did not end";
    EXPECT_LT(took, kPromptExit);
    EXPECT_EQ(utility.ExitCode(), 0u);
}

// A network that does not announce its name, joined by typing it on the Configuration page.
TEST_F(Field, BackOfficeHiddenNetwork) {
    ASSERT_TRUE(EnterWorld(world, "back-office"));
    ASSERT_NO_FATAL_FAILURE(StartAndOpenWhenReady());
    ASSERT_TRUE(Show(IDC_NAV_CONFIGURATION, ConfigPage()));
    SetControlText(ConfigPage(), IDC_CFG_SSID, kHiddenSsid);
    ClickButton(ConfigPage(), IDC_CFG_APPLY);
    EXPECT_TRUE(WaitFor([&] { return InFront(LinkInfoPage()); }, 3s)) << "Apply shows Link Info";
    EXPECT_TRUE(LinkInfoShows(kHiddenSsid, "Associated BSSID = " + Dashed(kHiddenBssid), 10s))
        << LinkInfoNow() << "\n" << SimCommand("events");
}

// The access point fades out of range and comes back: the tray and Link Info say the link
// is gone, then show it again once the port has opened anew. Joins that find no access
// point while it is gone are not blamed on the key.
TEST_F(Field, GardenFadeAndReturn) {
    ASSERT_TRUE(EnterWorld(world, "garden"));
    SeedWpaPsk(kWpaTkipSsid, kWpaTkipPassphrase, 4);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(Authorised(kWpaTkipSsid, 20s)) << SimCommand("events");
    const std::string linked = "Associated BSSID = " + Dashed(kGardenBssid);
    EXPECT_TRUE(LinkInfoShows(kWpaTkipSsid, linked, 3s)) << LinkInfoNow();

    const long long failedBefore = FailedJoins();
    ASSERT_TRUE(SimOk(std::string("signal ") + kGardenBssid + " -95"));
    EXPECT_TRUE(WaitForTraySet(TraySet::NoSignal, 5s)) << "shown " << TraySetOnScreen();
    EXPECT_TRUE(WaitFor([&] { return LinkInfoText(IDC_LI_STATUS) == "No connection to Network"; }, 3s))
        << LinkInfoNow();
    // Two attempts that never associate, each after half a minute's wait for the link.
    bool told = false;
    EXPECT_TRUE(WaitForFailedJoins(failedBefore + 2, 150s, told));
    EXPECT_FALSE(told) << "a faded network blamed on the key";

    ASSERT_TRUE(SimOk(std::string("signal ") + kGardenBssid + " -47"));
    EXPECT_TRUE(Authorised(kWpaTkipSsid, 20s)) << "the port opens again\n" << SimCommand("events");
    int set = -1;
    EXPECT_TRUE(WaitFor([&] {
        set = ExpectedTraySet(std::atoi(SimState("link.speed-kbps").c_str()), SignalPercent(-47));
        return !Visible() && TraySetOnScreen() == set;
    }, 10s)) << "expected set " << set << ", shown " << TraySetOnScreen();
    EXPECT_TRUE(LinkInfoShows(kWpaTkipSsid, linked, 3s)) << LinkInfoNow();
}

// A wrong pass phrase typed on the Encryption page: the port stays shut while the window
// keeps answering; the right one then joins.
TEST_F(Field, FlatWrongThenRightPassphrase) {
    ASSERT_TRUE(EnterWorld(world, "flat"));
    ASSERT_NO_FATAL_FAILURE(StartAndOpenWhenReady());
    ASSERT_NO_FATAL_FAILURE(ConnectTo("WPA-AES-Office"));
    AnswerQuestion("Use Previous WPA Setting", IDNO);
    ASSERT_TRUE(WaitFor([&] { return InFront(EncryptionPage()); }, 3s)) << "No opens the Encryption page";
    SetControlText(EncryptionPage(), IDC_WEP_PASSPHRASE, "office-guess");
    const int deauthentications = CountAfter(SimState("counters"), "deauthentications");
    const auto applied = std::chrono::steady_clock::now();
    ASSERT_NO_FATAL_FAILURE(ApplyEncryption());

    // A window that waited on the handshake would answer nothing until the access point gave
    // up; one that does not keeps answering meanwhile, on a loaded machine too.
    bool opened = false;
    int answeredDuring = 0;
    const bool refused = WaitFor([&] {
        ReplyTime();
        opened = opened || SimState("port.authorised") == "yes";
        const bool over = CountAfter(SimState("counters"), "deauthentications") > deauthentications;
        if (!over) ++answeredDuring;
        return over;
    }, 15s);
    std::printf("%d answers during a handshake of %lld ms\n", answeredDuring,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now() - applied).count()));
    EXPECT_TRUE(refused) << "the access point gives up on the handshake\n" << SimCommand("events");
    EXPECT_FALSE(opened);
    EXPECT_GE(answeredDuring, 2) << "the window answers while the handshake goes on";

    ASSERT_TRUE(Show(IDC_NAV_ENCRYPTION, EncryptionPage()));
    SetControlText(EncryptionPage(), IDC_WEP_PASSPHRASE, "aes-passphrase");
    ASSERT_NO_FATAL_FAILURE(ApplyEncryption());
    EXPECT_TRUE(Authorised("WPA-AES-Office", 20s)) << SimCommand("events");
    EXPECT_TRUE(LinkInfoShows("WPA-AES-Office", "Associated BSSID = 06-A0-88-00-00-04", 3s)) << LinkInfoNow();
}

// The street of today: nearly every network WPA2, one beside WPA, one beside WPA3, one
// WPA3 only. A stored WPA2-PSK setting joins at start, and the survey lists every network
// as what it is: WEP "No" but for the WEP network, and hxctl's scan names each one's kind.
TEST_F(Field, StreetOfTodayStoredWpa2SettingAndWhatTheSurveyLists) {
    ASSERT_TRUE(EnterWorld(world, "street-of-today"));
    SeedWpaPsk("Harbour-Cafe", "harbour-cafe-2019", 6, 7);
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(Authorised("Harbour-Cafe", 20s)) << SimCommand("events");

    ASSERT_TRUE(OpenFromTray(window, 10s));
    ASSERT_TRUE(Show(IDC_NAV_SITE_SURVEY, SitePage()));
    HWND list = ::GetDlgItem(SitePage(), IDC_SITE_LIST);
    RemoteListView rows(list);
    ASSERT_TRUE(rows.Usable());
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(list) && rows.Count() >= kDefaultWorldAccessPoints; }, 15s))
        << rows.Count() << " rows listed";
    std::map<std::string, std::string> wepColumn;
    for (int r = 0; r < rows.Count(); ++r) wepColumn[rows.Text(r, 1)] = rows.Text(r, 2);

    const ConsoleRun scan = RunConsole(ProgramCommand("hxctl.exe", "-t scan"), "", 60s);
    ASSERT_EQ(scan.exitCode, 0u) << scan.out << scan.err;
    std::map<std::string, std::string> named;  // SSID: security, from the rows bssid, ssid, security, ...
    for (size_t at = 0; at < scan.out.size();) {
        const size_t end = scan.out.find('\n', at);
        const std::string line = scan.out.substr(at, end - at);
        const size_t ssid = line.find('\t') + 1, security = line.find('\t', ssid) + 1;
        named[line.substr(ssid, security - 1 - ssid)] = line.substr(security, line.find('\t', security) - security);
        at = end == std::string::npos ? scan.out.size() : end + 1;
    }
    for (const auto& network : hxsim::DefaultScenario().networks) {
        const auto kind = kStreetKinds.find(network.ssid);
        const std::string expected = kind == kStreetKinds.end() ? "WPA2-PSK AES" : kind->second;
        EXPECT_EQ(named[network.ssid], expected) << network.ssid;
        EXPECT_EQ(wepColumn[network.ssid], expected == "WEP" ? "Yes" : "No") << network.ssid;
    }
}

// Joining in the street through Site Survey: a WPA2-PSK network with a typed pass phrase,
// the transition network as WPA2-PSK, the WPA3-only network refused with its message and
// nothing changed, and a wrong WPA2 pass phrase told in the balloon with the port shut.
TEST_F(Field, StreetOfTodayJoinsThroughSiteSurvey) {
    ASSERT_TRUE(EnterWorld(world, "street-of-today"));
    ASSERT_NO_FATAL_FAILURE(StartAndOpenWhenReady());

    ASSERT_NO_FATAL_FAILURE(JoinTyping("Flat-2B", "second-floor-left"));
    EXPECT_TRUE(Authorised("Flat-2B", 20s)) << SimCommand("events");
    EXPECT_EQ(StoredNumber("LastSetting", "AuthenticationMode"), 7u);
    EXPECT_EQ(StoredNumber("LastSetting", "WEPStatus"), 6u);

    ASSERT_NO_FATAL_FAILURE(JoinTyping("WPA3-Transition", "transition-passphrase"));
    EXPECT_TRUE(Authorised("WPA3-Transition", 20s)) << SimCommand("events");

    const std::string before = SettingAndLink();
    ASSERT_NO_FATAL_FAILURE(ConnectTo("WPA3-Only"));
    HWND box = WaitForProcessDialog(utility.ProcessId(), "HX88UUtil", 5s);
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(MessageBoxText(box), JoinRefusalText(JoinRefusal::Wpa3Only));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 2s));
    EXPECT_EQ(ProcessDialog(utility.ProcessId(), "Use Previous WPA Setting"), nullptr);
    EXPECT_TRUE(InFront(SitePage())) << "the page stays";
    EXPECT_EQ(SettingAndLink(), before);

    ASSERT_NO_FATAL_FAILURE(JoinTyping("Bakery-Staff", "not-the-passphrase"));
    ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(1, 1));   // back to the tray
    const std::vector<std::string> told{"Could not join Bakery-Staff: the key or password may be wrong."};
    bool opened = false;
    EXPECT_TRUE(WaitFor([&] {
        opened = opened || SimState("port.authorised") == "yes";
        return BalloonTextsOnScreen() == told;
    }, 60s)) << SimState("counters");
    EXPECT_FALSE(opened);
}

}  // namespace
}  // namespace hx::test
