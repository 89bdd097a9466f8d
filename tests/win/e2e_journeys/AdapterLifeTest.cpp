// The adapter pulled out and plugged in again while the window is open, and driver calls
// failing in the middle of the apply that follows identification.
#include <thread>

#include "tests/win/e2e_journeys/Journey.h"

namespace hx::test {
namespace {

class AdapterLife : public Journey {};

TEST_F(AdapterLife, UnplugAndReplugWhileTheWindowIsOpen) {
    // The last setting joins the WEP network with a shared key.
    ASSERT_TRUE(SeedNumber("LastSetting", "NetworkType", 1));
    ASSERT_TRUE(SeedNumber("LastSetting", "AuthenticationMode", 1));
    ASSERT_TRUE(SeedNumber("LastSetting", "WEPStatus", 0));
    ASSERT_TRUE(SeedNumber("LastSetting", "WEPKeyLength", 64));
    ASSERT_TRUE(SeedText("LastSetting", "WEPKey64_0", "12 34 56 78 90"));
    ASSERT_TRUE(SeedText("LastSetting", "SSID", "WEP-Lab"));
    Start();
    ASSERT_TRUE(WaitForSim("link.ssid", "\"WEP-Lab\"", 8s));
    EXPECT_EQ(SimState("link.wep-keys-match"), "yes");

    ASSERT_TRUE(OpenFromTray(window, 3s));
    EXPECT_TRUE(InFront(LinkInfoPage()));
    ClickLabel(window, IDC_NAV_ABOUT);
    ASSERT_TRUE(WaitFor([&] { return InFront(AboutPage()); }, 2s));
    EXPECT_EQ(Text(::GetDlgItem(AboutPage(), IDC_ABOUT_DRIVER_VERSION)), "1.2.1215.2004");
    EXPECT_EQ(Text(::GetDlgItem(AboutPage(), IDC_ABOUT_MAC)), "00:48:56:88:00:01");
    const int associations = CountAfter(SimState("counters"), "associations");

    ASSERT_TRUE(SimOk("unplug"));
    const auto pulled = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitFor([&] { return !Visible(); }, 2s));
    const auto hiddenAfter = std::chrono::steady_clock::now() - pulled;
    EXPECT_LE(hiddenAfter, 1500ms + LoadAllowance(window, [&] { return !Visible(); })) << "hidden within a tick";
    EXPECT_TRUE(WaitForTraySet(0, 2s)) << "shown " << TraySetOnScreen();
    ::PostMessageA(window, WM_COMMAND, ID_TRAY_OPEN, 0);
    std::this_thread::sleep_for(1200ms);
    EXPECT_FALSE(Visible()) << "Open does nothing without an adapter";

    // Plugged in again, the adapter comes up with nothing set: identification applies the
    // last setting again and brings Link Info to the front of the (hidden) window.
    ASSERT_TRUE(SimOk("plug"));
    EXPECT_TRUE(WaitForSim("link.ssid", "\"WEP-Lab\"", 8s)) << SimCommand("show");
    EXPECT_EQ(SimState("use-own-oids"), "1") << "the new adapter is told who is in control";
    EXPECT_EQ(SimState("settings.auth-mode"), "1");
    EXPECT_EQ(SimState("settings.wep-status"), "0");
    EXPECT_NE(SimState("settings.wep-keys").find("[0*] 12 34 56 78 90"), std::string::npos);
    EXPECT_GT(CountAfter(SimState("counters"), "associations"), associations);
    EXPECT_TRUE(InFront(LinkInfoPage())) << "back on Link Info";
    EXPECT_FALSE(Visible());
    EXPECT_TRUE(WaitFor([&] { const int set = TraySetOnScreen(); return !Visible() && set >= 2 && set <= 9; }, 8s))
        << "bars again; shown " << TraySetOnScreen();

    ASSERT_TRUE(OpenFromTray(window, 2s));
    EXPECT_TRUE(InFront(LinkInfoPage()));
    EXPECT_TRUE(WaitFor([&] { return Text(::GetDlgItem(LinkInfoPage(), IDC_LI_SSID)) == "WEP-Lab"; }, 3s));
    EXPECT_EQ(Text(::GetDlgItem(AboutPage(), IDC_ABOUT_MAC)), "00:48:56:88:00:01") << "read again at identification";
}

// The apply after identification stops at the first call the driver refuses: what came
// before stays applied and stored, nothing after it is applied or stored. While the driver
// refuses, each later try stops there too; once it takes the call, the heartbeat completes
// the apply by itself.
struct FailedCall {
    const char* call;                       // the call the simulator fails
    std::vector<const char*> stored;        // last-setting values written before the failure
    std::vector<const char*> notStored;     // and those never reached
    bool ssidApplied;
};

class FailingApply : public Journey, public ::testing::WithParamInterface<FailedCall> {};

TEST_P(FailingApply, StopsAtTheFailureAndCompletesOnceTheCallIsTaken) {
    const FailedCall& c = GetParam();
    ScenarioFile scenario;
    ASSERT_TRUE(scenario.Replace("plugged = yes", "plugged = no").Install("journey_unplugged"));
    Start();
    ASSERT_TRUE(WaitFor([] { return SimOk("show"); }, 5s)) << "the simulator answers once the utility looks for its adapter";
    ASSERT_TRUE(SimOk(std::string("fail ") + c.call + " always"));
    ASSERT_TRUE(SimOk("plug"));

    ASSERT_TRUE(WaitFor([] { return ReadStored("LastSetting", "NetworkType").has_value(); }, 5s));
    std::this_thread::sleep_for(2500ms);  // two more ticks: what is tried meanwhile stops there too
    for (const char* name : c.stored) EXPECT_TRUE(ReadStored("LastSetting", name).has_value()) << name;
    for (const char* name : c.notStored) EXPECT_FALSE(ReadStored("LastSetting", name).has_value()) << name;
    EXPECT_EQ(SimState("settings.ssid") != "(not set)", c.ssidApplied);
    // Identification went on: the adapter is ready and Link Info is in front.
    EXPECT_TRUE(InFront(LinkInfoPage()));
    EXPECT_TRUE(WaitFor([&] { return !Visible() && TraySetOnScreen() >= 1; }, 3s)) << TraySetOnScreen();

    // The driver takes the call again: the heartbeat applies the whole setting, within 1 + 2
    // + 4 ticks of its tries.
    ASSERT_TRUE(SimOk(std::string("fail ") + c.call + " off"));
    EXPECT_TRUE(WaitFor([] { return ReadStored("LastSetting", "Domain").has_value(); }, 8s));
    for (const char* name : c.notStored) EXPECT_TRUE(ReadStored("LastSetting", name).has_value()) << name;
    EXPECT_TRUE(WaitForSim("link.associated", "yes", 8s));
}

INSTANTIATE_TEST_SUITE_P(
    Journeys, FailingApply,
    ::testing::Values(
        FailedCall{"SetWL_WriteKey", {"NetworkType", "AuthenticationMode"},
                   {"WEPKey64_0", "WEPKeyLength", "WEPDefaultKeyId", "WEPStatus", "DesiredRate", "SSID", "Domain"}, false},
        FailedCall{"SetWL_DesiredRate",
                   {"AuthenticationMode", "WEPKey64_3", "WEPKeyLength", "WEPDefaultKeyId", "WEPStatus"},
                   {"DesiredRate", "SSID", "PreambleMode", "PowerSaveMode", "Domain"}, false},
        FailedCall{"SetWL_PSMode", {"DesiredRate", "SSID", "PreambleMode"}, {"PowerSaveMode", "Domain"}, true},
        FailedCall{"QueryWL_OperationRegionCode", {"SSID", "PreambleMode", "PowerSaveMode"}, {"Domain"}, true}),
    [](const ::testing::TestParamInfo<FailedCall>& info) { return std::string(info.param.call); });

}  // namespace
}  // namespace hx::test
