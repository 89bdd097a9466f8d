// Ending the utility: a second start that only brings the first one forward, and Exit
// while the authentication worker is in the middle of a WPA handshake. (The end of the
// Windows session is tests/win/e2e_session.)
#include <thread>

#include "app/UtilityState.h"
#include "tests/win/e2e_journeys/Journey.h"

namespace hx::test {
namespace {

class Shutdown : public Journey {};

TEST_F(Shutdown, ASecondStartBringsTheReadyFirstOneForward) {
    Start();
    ASSERT_TRUE(WaitFor([&] { return !Visible() && TraySetOnScreen() >= 1; }, 5s)) << "ready, in the tray";
    const std::string handles = SimState("open-handles");

    UtilityProcess second;
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(second.WaitForExit(10s));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_EQ(second.MainWindow(), nullptr);
    EXPECT_EQ(CountUtilityWindows(), 1);
    EXPECT_TRUE(Visible()) << "the first window is shown";
    std::this_thread::sleep_for(2200ms);
    EXPECT_TRUE(Visible()) << "with its adapter ready it stays shown";
    EXPECT_TRUE(utility.Running());
    EXPECT_EQ(SimState("open-handles"), handles) << "the second start did not touch the adapter";
}

// Exit while the worker negotiates with an access point that never accepts its key: the
// worker is stopped, the service it stopped is started again, and the process ends at once.
struct ServiceCase {
    const char* name;
    int wzcStatus;         // what the service reports while it runs
    int stopsForWorker;    // 0 when the driver says the service need not be stopped
};

class ExitDuringHandshake : public Journey, public ::testing::WithParamInterface<ServiceCase> {};

TEST_P(ExitDuringHandshake, StopsTheWorkerRestoresTheServiceAndEndsPromptly) {
    const ServiceCase& c = GetParam();
    ScenarioFile scenario;
    ASSERT_TRUE(scenario.Replace("wzc-status = 0", "wzc-status = " + std::to_string(c.wzcStatus))
                    .Append("[timing]\nhandshake-timeout = 600000")
                    .Install("journey_handshake"));
    ExitReport exitReport("journey_handshake");
    SeedWpaPsk(kWpaTkipSsid, "not-the-passphrase", 4);
    Start();
    ASSERT_TRUE(WaitFor([] { return SimState("port.phase").rfind("4-way", 0) == 0; }, 15s)) << SimCommand("show");
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(SimState("port.phase").substr(0, 5), "4-way") << "still negotiating";
    EXPECT_EQ(CountAfter(SimState("wzc.service"), "stopped"), c.stopsForWorker) << SimState("wzc.service");

    const auto took = ExitThroughTray();
    ASSERT_GE(took.count(), 0) << "the utility did not end";
    std::printf("ended %lld ms after Exit\n", static_cast<long long>(took.count()));
    EXPECT_LT(took, kPromptExit) << "ends promptly";
    EXPECT_EQ(utility.ExitCode(), 0u);
    EXPECT_TRUE(WaitFor([] { return TraySetOnScreen() == -1; }, 2s)) << "the icon is removed";

    const std::string report = exitReport.Text();
    ASSERT_FALSE(report.empty());
    const std::string service = ReportValue(report, "wzc.service");
    EXPECT_EQ(service.substr(0, 7), "running") << service;
    EXPECT_EQ(CountAfter(service, "stopped"), c.stopsForWorker) << service;
    EXPECT_EQ(CountAfter(service, "started"), c.stopsForWorker) << service;
    EXPECT_EQ(ReportValue(report, "port.authorised"), "no");
    EXPECT_EQ(ReportValue(report, "keys.installed"), "none") << "a wrong pass phrase installs nothing";
}

INSTANTIATE_TEST_SUITE_P(Journeys, ExitDuringHandshake,
                         ::testing::Values(ServiceCase{"ServiceStoppedForTheWorker", 0, 1},
                                           ServiceCase{"ServiceNeedNotStop", 2, 0}),
                         [](const ::testing::TestParamInfo<ServiceCase>& info) { return info.param.name; });

}  // namespace
}  // namespace hx::test
