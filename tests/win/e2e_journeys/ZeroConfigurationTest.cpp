// Windows Zero Configuration taking the adapter over and giving it back, and the service
// the authentication worker stopped being started again once the worker stops.
#include <thread>

#include "tests/win/e2e_journeys/Journey.h"

namespace hx::test {
namespace {

constexpr const char* kZeroConfigurationMessage = "Wireless LAN is Controlled by the Windows Zero Configuration";

class ZeroConfiguration : public Journey {
protected:
    static int TimesTold() { return std::atoi(SimState("use-own-oids.told").c_str()); }
    bool LinkSetShown() {
        const int set = TraySetOnScreen();
        return !Visible() && set >= 1 && set <= 9;
    }
};

TEST_F(ZeroConfiguration, TakesControlAndGivesItBack) {
    Start();
    ASSERT_TRUE(WaitForSim("link.associated", "yes", 8s));
    ASSERT_TRUE(WaitFor([&] { return LinkSetShown(); }, 5s)) << TraySetOnScreen();
    std::this_thread::sleep_for(2s);
    EXPECT_EQ(TimesTold(), 1) << "told once at the first check, not on every tick";
    EXPECT_EQ(SimState("use-own-oids"), "1");

    ASSERT_TRUE(OpenFromTray(window, 2s));
    ASSERT_TRUE(SimOk("wzc 1"));
    const auto taken = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitForTraySet(10, 3s)) << "the prohibition sign; shown " << TraySetOnScreen();
    const auto signAfter = std::chrono::steady_clock::now() - taken;
    EXPECT_LE(signAfter, 2500ms + LoadAllowance(window, [&] { return TraySetOnScreen() == 10; })) << "within a tick";
    std::this_thread::sleep_for(2s);
    EXPECT_EQ(TimesTold(), 2);
    EXPECT_EQ(SimState("use-own-oids"), "0");
    EXPECT_FALSE(Visible());

    // "Open" explains instead of opening.
    ::PostMessageA(window, WM_COMMAND, ID_TRAY_OPEN, 0);
    HWND box = WaitForOwnedMessageBox(window, 3s);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kZeroConfigurationMessage);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 2s));
    EXPECT_FALSE(Visible());
    EXPECT_TRUE(WaitForTraySet(10, 2s));

    // Given back: bars again, the driver told, and Open opens.
    ASSERT_TRUE(SimOk("wzc 0"));
    EXPECT_TRUE(WaitFor([&] { return LinkSetShown(); }, 3s)) << TraySetOnScreen();
    EXPECT_EQ(TimesTold(), 3);
    EXPECT_EQ(SimState("use-own-oids"), "1");
    EXPECT_TRUE(OpenFromTray(window, 2s));

    // Status 2: the utility stays in control but the driver is told 0.
    ASSERT_TRUE(SimOk("wzc 2"));
    EXPECT_TRUE(WaitFor([] { return SimState("use-own-oids") == "0"; }, 3s));
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(TimesTold(), 4);
    EXPECT_TRUE(Visible()) << "status 2 does not withdraw the window";
}

TEST_F(ZeroConfiguration, TheServiceStoppedForTheWorkerIsStartedAgainWhenTheWorkerStops) {
    ExitReport exitReport("journey_wzc");
    SeedWpaPsk(kWpaTkipSsid, kWpaTkipPassphrase, 4);
    Start();
    ASSERT_TRUE(WaitForSim("port.authorised", "yes", 20s)) << SimCommand("show");
    std::string service = SimState("wzc.service");
    EXPECT_EQ(service.substr(0, 7), "stopped") << service;
    EXPECT_EQ(CountAfter(service, "stopped"), 1) << service;
    EXPECT_EQ(CountAfter(service, "started"), 0) << service;
    const auto element = ReadStored("LastSetting", "Dot1xWPAIEs");
    ASSERT_TRUE(element.has_value()) << "the worker stores the access point's WPA element";
    EXPECT_EQ(element->type, static_cast<unsigned long>(REG_SZ));
    EXPECT_EQ(element->text.substr(0, 2), "DD") << element->text;

    // Identification after a re-plug applies the setting again: it stops the worker (which
    // starts the service again) and starts a new one (which stops it).
    ASSERT_TRUE(SimOk("unplug"));
    ASSERT_TRUE(WaitForTraySet(0, 3s));
    ASSERT_TRUE(SimOk("plug"));
    EXPECT_TRUE(WaitFor([] { return CountAfter(SimState("wzc.service"), "stopped") == 2; }, 5s)) << SimState("wzc.service");
    EXPECT_EQ(CountAfter(SimState("wzc.service"), "started"), 1) << SimState("wzc.service");
    EXPECT_TRUE(WaitForSim("port.authorised", "yes", 20s)) << SimCommand("show");

    // Exit stops the worker and gives the service back.
    const auto took = ExitThroughTray();
    EXPECT_GE(took.count(), 0);
    EXPECT_LT(took, kPromptExit);
    service = ReportValue(exitReport.Text(), "wzc.service");
    EXPECT_EQ(service.substr(0, 7), "running") << service;
    EXPECT_EQ(CountAfter(service, "stopped"), 2) << service;
    EXPECT_EQ(CountAfter(service, "started"), 2) << service;
}

}  // namespace
}  // namespace hx::test
