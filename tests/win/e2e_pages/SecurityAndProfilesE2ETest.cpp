// The built utility against the simulated adapter, driven from outside: joining the
// WPA-PSK network of the default world by entering its pass phrase on the Encryption page,
// keeping a profile per network and loading each, and the About page's adapter facts.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "adapter/Discovery.h"
#include "resources/resource.h"
#include "sim/core/DefaultWorld.h"
#include "tests/win/e2e_pages/DrivingTheUtility.h"

namespace hx::test {
namespace {

using namespace std::chrono_literals;

// A value of the default world's [adapter] section.
std::string DefaultWorldValue(const std::string& key) {
    std::istringstream lines{std::string(hxsim::DefaultScenarioText())};
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(key + " = ", 0) == 0) return line.substr(key.size() + 3);
    }
    return "";
}

class SecurityAndProfilesEndToEnd : public ::testing::Test {
protected:
    void TearDown() override {
        if (utility.Running() && main != nullptr) {
            ::PostMessageA(main, WM_COMMAND, ID_TRAY_EXIT, 0);
            utility.WaitForExit(5s);
        }
        ClearUtilityRegistry();
    }

    // Starts the utility on a fresh registry (plus what the test seeds) and waits until it
    // has identified the adapter: the About page then shows the driver's version.
    void Start(const std::function<void()>& seed = nullptr) {
        ClearUtilityRegistry();
        if (seed) seed();
        ASSERT_TRUE(utility.Start());
        main = utility.WaitForMainWindow(5s);
        ASSERT_NE(main, nullptr);
        driver.emplace(utility, main);
        // The title is set before the pages are made.
        ASSERT_TRUE(WaitFor([&] { return (about = driver->PageHolding(IDC_ABOUT_DRIVER_LABEL)) != nullptr; }, 5s));
        ASSERT_TRUE(WaitFor([&] { return !UtilityDriver::Text(about, IDC_ABOUT_DRIVER_VERSION).empty(); }, 10s));
    }

    // Waits for the simulator to report the port of this network authorised.
    bool Authorised(const std::string& ssid, std::chrono::milliseconds limit) {
        return WaitFor([&] {
            return SimulatorState("link.ssid") == "\"" + ssid + "\"" && SimulatorState("port.authorised") == "yes";
        }, limit);
    }

    // Sets the Encryption page to TKIP with WPA-PSK and the pass phrase, and applies it.
    void ApplyPassphrase(const std::string& passphrase) {
        HWND page = driver->ShowPage(IDC_NAV_ENCRYPTION, IDC_WEP_PASSPHRASE);
        ASSERT_NE(page, nullptr);
        UtilityDriver::Choose(page, IDC_WEP_ENCRYPT, 2);
        UtilityDriver::Choose(page, IDC_WEP_AUTH, 3);
        UtilityDriver::SetText(page, IDC_WEP_PASSPHRASE, passphrase);
        UtilityDriver::Click(page, IDC_WEP_APPLY);
        ASSERT_TRUE(WaitFor([&] { return LinkInfoInFront(); }, 3s)) << "Apply shows Link Info";
    }

    // The window itself may be hidden in the tray; the page in front is the one whose window
    // is marked visible.
    bool LinkInfoInFront() const {
        HWND page = driver->PageHolding(IDC_LI_RESCAN);
        return page != nullptr && (::GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) != 0;
    }

    UtilityProcess utility;
    HWND main = nullptr;
    HWND about = nullptr;
    std::optional<UtilityDriver> driver;
};

void SeedTkipHomeSsid() {
    SeedRegistryString("LastSetting", "SSID", "WPA-TKIP-Home");
    SeedRegistryDword("LastSetting", "NetworkType", 1);
}

TEST_F(SecurityAndProfilesEndToEnd, TheRightPassphraseOnTheEncryptionPageJoinsTheTkipNetwork) {
    ASSERT_NO_FATAL_FAILURE(Start(SeedTkipHomeSsid));
    EXPECT_NE(SimulatorState("port.authorised"), "yes");
    ASSERT_NO_FATAL_FAILURE(ApplyPassphrase("tkip-passphrase"));
    EXPECT_TRUE(Authorised("WPA-TKIP-Home", 20s)) << SimulatorEvents();
    EXPECT_EQ(SimulatorState("link.pairwise-cipher"), "tkip");
    EXPECT_EQ(RegistryString("LastSetting", "Dot1xPassphrase"), "tkip-passphrase");
    EXPECT_EQ(RegistryType("", "WepKeyFormat"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RegistryDword("LastSetting", "AuthenticationMode"), 4u);
    EXPECT_EQ(RegistryDword("LastSetting", "WEPStatus"), 4u);
}

TEST_F(SecurityAndProfilesEndToEnd, AWrongPassphraseDoesNotAuthoriseThePort) {
    ASSERT_NO_FATAL_FAILURE(Start(SeedTkipHomeSsid));
    ASSERT_NO_FATAL_FAILURE(ApplyPassphrase("not-the-passphrase"));
    bool everAuthorised = false;
    const bool deauthenticated = WaitFor([&] {
        everAuthorised = everAuthorised || SimulatorState("port.authorised") == "yes";
        return SimulatorEvents().find("deauthenticated") != std::string::npos;
    }, 20s);
    const std::string events = SimulatorEvents();
    EXPECT_NE(events.find("associated with 06:A0:88:00:00:03"), std::string::npos) << events;
    EXPECT_TRUE(deauthenticated) << "the access point gave up on the handshake\n" << events;
    EXPECT_FALSE(everAuthorised);
    EXPECT_NE(SimulatorState("port.authorised"), "yes");
}

TEST_F(SecurityAndProfilesEndToEnd, AboutShowsTheSimulatedAdaptersDriverVersionAndMac) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const int packed = static_cast<int>(std::strtoul(DefaultWorldValue("driver-version").c_str(), nullptr, 16));
    EXPECT_EQ(UtilityDriver::Text(about, IDC_ABOUT_DRIVER_VERSION), DriverVersionText(packed));
    EXPECT_EQ(UtilityDriver::Text(about, IDC_ABOUT_MAC), DefaultWorldValue("mac"));
    EXPECT_EQ(UtilityDriver::Text(about, IDC_ABOUT_UTILITY_VERSION), "1.2.0.1");
}

// One profile per network, made with "Add Current" in the editor; loading each joins it.
TEST_F(SecurityAndProfilesEndToEnd, ProfilesOfTwoNetworksJoinThemWhenLoaded) {
    ASSERT_NO_FATAL_FAILURE(Start());
    struct Made {
        const char* name;
        const char* ssid;
        int encryption, authentication;
        const char* passphrase;
    };
    const Made made[] = {
        {"TKIP home", "WPA-TKIP-Home", 2, 3, "tkip-passphrase"},
        {"Lobby", "Open-Lobby", 0, 0, ""},
    };
    HWND page = driver->ShowPage(IDC_NAV_PROFILE, IDC_PROF_LOAD);
    ASSERT_NE(page, nullptr);
    for (const Made& m : made) {
        UtilityDriver::Click(page, IDC_PROF_ADD);
        HWND editor = driver->WaitForEditor(3s);
        ASSERT_NE(editor, nullptr);
        UtilityDriver::SetText(editor, IDC_ED_NAME, m.name);
        UtilityDriver::SetText(editor, IDC_ED_SSID, m.ssid);
        UtilityDriver::Choose(editor, IDC_ED_MODE, 1);
        UtilityDriver::Choose(editor, IDC_ED_ENCRYPT, m.encryption);
        UtilityDriver::Choose(editor, IDC_ED_AUTH, m.authentication);
        UtilityDriver::SetText(editor, IDC_ED_PASSPHRASE, m.passphrase);
        UtilityDriver::Click(editor, IDC_ED_OK);
        ASSERT_TRUE(WaitFor([&] { return driver->Editor() == nullptr; }, 3s));
    }
    HWND list = ::GetDlgItem(page, IDC_PROF_LIST);
    EXPECT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 2);

    // The chain in the order of adding, and the values with their types.
    EXPECT_EQ(RegistryString("", "ProfileLink"), "TKIP home");
    EXPECT_EQ(RegistryString("Profile\\TKIP home", "ProfileLink"), "Lobby");
    EXPECT_EQ(RegistryType("Profile\\Lobby", "ProfileLink"), static_cast<DWORD>(REG_NONE));
    for (const char* name : {"Channel", "NetworkType", "AuthenticationMode", "WEPStatus", "WEPDefaultKeyId",
                             "WEPKeyLength", "PowerSaveMode", "PreambleMode", "Domain", "Dot1xProtocol"})
        EXPECT_EQ(RegistryType("Profile\\TKIP home", name), static_cast<DWORD>(REG_DWORD)) << name;
    for (const char* name : {"SSID", "DesiredRate", "Dot1xPassphrase", "Dot1xUsername", "Dot1xPassword",
                             "Dot1xWPAIEs", "Dot1xCertSubject", "Dot1xCertIssuer", "WEPKey64_0", "WEPKey64_1",
                             "WEPKey64_2", "WEPKey64_3"})
        EXPECT_EQ(RegistryType("Profile\\TKIP home", name), static_cast<DWORD>(REG_SZ)) << name;
    EXPECT_EQ(RegistryString("Profile\\TKIP home", "SSID"), "WPA-TKIP-Home");
    EXPECT_EQ(RegistryDword("Profile\\TKIP home", "AuthenticationMode"), 4u);
    EXPECT_EQ(RegistryDword("Profile\\TKIP home", "WEPStatus"), 4u);
    EXPECT_EQ(RegistryString("Profile\\TKIP home", "Dot1xPassphrase"), "tkip-passphrase");
    EXPECT_EQ(RegistryString("Profile\\Lobby", "SSID"), "Open-Lobby");
    EXPECT_EQ(RegistryDword("Profile\\Lobby", "WEPStatus"), 1u);

    // The list box sorts: "Lobby" is entry 0, "TKIP home" entry 1.
    const struct { int entry; const char* ssid; bool authorised; } loads[] = {
        {1, "WPA-TKIP-Home", true}, {0, "Open-Lobby", false}, {1, "WPA-TKIP-Home", true}};
    for (const auto& load : loads) {
        page = driver->ShowPage(IDC_NAV_PROFILE, IDC_PROF_LOAD);
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(load.entry), 0);
        UtilityDriver::Click(page, IDC_PROF_LOAD);
        if (load.authorised) {
            EXPECT_TRUE(Authorised(load.ssid, 20s)) << load.ssid << "\n" << SimulatorEvents();
        } else {
            EXPECT_TRUE(WaitFor([&] {
                return SimulatorState("link.ssid") == std::string("\"") + load.ssid + "\"" &&
                       SimulatorState("link.associated") == "yes";
            }, 10s)) << load.ssid << "\n" << SimulatorEvents();
        }
        EXPECT_TRUE(LinkInfoInFront()) << "Load shows Link Info";
    }
}

}  // namespace
}  // namespace hx::test
