// First start on a machine where the utility never ran: nothing stored yet.
#include <regex>

#include "app/VendorLibraries.h"

#include "tests/win/e2e_journeys/Journey.h"

namespace hx::test {
namespace {

constexpr const char* kDefaultRates = "02 04 0B 16 0C 12 18 24 30 48 60 6C 00 00 00 00";

struct Expected {
    const char* name;
    DWORD type;
    unsigned long number;
    const char* text;
};

class FirstStart : public Journey {};

TEST_F(FirstStart, AppliesAndStoresTheDefaultsHiddenWithTheIconFollowingTheSignal) {
    Start();
    EXPECT_TRUE(WaitFor([&] { return !Visible(); }, 2s)) << "starts in the tray";
    ASSERT_TRUE(WaitForSim("link.associated", "yes", 8s)) << "an empty SSID joins the open network in reach";

    // The defaults reached the adapter...
    const std::string report = SimCommand("show");
    EXPECT_EQ(ReportValue(report, "settings.network-type"), "1");
    EXPECT_EQ(ReportValue(report, "settings.auth-mode"), "2");
    EXPECT_EQ(ReportValue(report, "settings.wep-status"), "1");
    EXPECT_EQ(ReportValue(report, "settings.ssid"), "\"\"");
    EXPECT_EQ(ReportValue(report, "settings.preamble"), "0");
    EXPECT_EQ(ReportValue(report, "settings.power-save"), "0");
    EXPECT_EQ(ReportValue(report, "settings.region"), "0x10") << "region 0 asks for the factory region";
    EXPECT_EQ(ReportValue(report, "settings.desired-rates"), kDefaultRates);
    EXPECT_EQ(ReportValue(report, "link.ssid"), "\"Open-Lobby\"");
    EXPECT_EQ(ReportValue(report, "use-own-oids"), "1") << "the utility, not Zero Configuration, is in control";

    // ...and were stored as they were accepted, each with its registry type.
    const auto key = ReadStored("LastSetting", "WEPKey64_0");
    ASSERT_TRUE(key.has_value());
    const std::string defaultKey = key->text;
    EXPECT_TRUE(std::regex_match(defaultKey, std::regex("([0-9A-F]{2} ){4}[0-9A-F]{2}"))) << defaultKey;
    EXPECT_NE(ReportValue(report, "settings.wep-keys").find("[0*] " + defaultKey), std::string::npos)
        << "the stored key is the one written to the adapter: " << ReportValue(report, "settings.wep-keys");
    const Expected stored[] = {
        {"NetworkType", REG_DWORD, 1, nullptr},        {"AuthenticationMode", REG_DWORD, 2, nullptr},
        {"WEPStatus", REG_DWORD, 1, nullptr},          {"WEPKeyLength", REG_DWORD, 64, nullptr},
        {"WEPDefaultKeyId", REG_DWORD, 0, nullptr},    {"WEPKey64_1", REG_SZ, 0, defaultKey.c_str()},
        {"WEPKey64_2", REG_SZ, 0, defaultKey.c_str()}, {"WEPKey64_3", REG_SZ, 0, defaultKey.c_str()},
        {"DesiredRate", REG_SZ, 0, kDefaultRates},     {"SSID", REG_SZ, 0, ""},
        {"PreambleMode", REG_DWORD, 0, nullptr},       {"PowerSaveMode", REG_DWORD, 0, nullptr},
        {"Domain", REG_DWORD, 0, nullptr},
    };
    for (const Expected& e : stored) {
        const auto value = ReadStored("LastSetting", e.name);
        ASSERT_TRUE(value.has_value()) << e.name;
        EXPECT_EQ(value->type, e.type) << e.name;
        if (e.type == REG_DWORD) {
            EXPECT_EQ(value->number, e.number) << e.name;
        } else {
            EXPECT_EQ(value->text, e.text) << e.name;
        }
    }
    // Not applied in infrastructure mode, never written by the utility, or not written yet.
    for (const char* absent : {"Channel", "Dot1xProtocol", "Dot1xPassphrase", "Dot1xUsername", "Dot1xPassword",
                               "Dot1xCertSubject", "Dot1xCertIssuer", "Dot1xWPAIEs"})
        EXPECT_FALSE(ReadStored("LastSetting", absent).has_value()) << absent;
    EXPECT_FALSE(ReadStored("", "WepKeyFormat").has_value());
    EXPECT_FALSE(ReadStored("", "ProfileLink").has_value());

    // The icon follows the signal: four bars when strong, fewer once the six samples agree
    // on a weaker one. The colour follows the rate the link has then.
    const std::string bssid = ReportValue(report, "link.bssid");
    ASSERT_TRUE(SimOk("drift " + bssid + " 0"));
    for (const int rssi : {-50, -68, -89}) {  // four, three and one bar
        ASSERT_TRUE(SimOk("signal " + bssid + " " + std::to_string(rssi)));
        int expected = -1;
        EXPECT_TRUE(WaitFor([&] {
            expected = ExpectedTraySet(std::atoi(SimState("link.speed-kbps").c_str()), SignalPercent(rssi));
            return !Visible() && TraySetOnScreen() == expected;
        }, 10s)) << rssi << " dBm: expected set " << expected << ", shown " << TraySetOnScreen();
    }
    EXPECT_FALSE(Visible()) << "nothing but the tray's Open shows the window";

    EXPECT_GE(ExitThroughTray().count(), 0);
    EXPECT_EQ(utility.ExitCode(), 0u);
    EXPECT_FALSE(ReadStored("", "WepKeyFormat").has_value()) << "nothing is stored on exit";
}

// On the stand-ins beside it the utility never passes for the real adapter: its title and
// its About page say it runs on the simulated one (the tooltip: the main window's test).
TEST_F(FirstStart, SaysItRunsOnTheSimulatedAdapter) {
    Start();
    EXPECT_EQ(Text(window), kSimulatedMainWindowTitle);
    std::string about;
    WaitFor([&] { return !(about = PageText(window, IDC_ABOUT_LIBRARIES)).empty(); }, 5s);   // once the pages are made
    EXPECT_EQ(about, "Adapter library: simulated stand-in (VUVAVO.dll)\r\nSupplicant library: simulated stand-in (dot1x_dll.dll)");
}

}  // namespace
}  // namespace hx::test
