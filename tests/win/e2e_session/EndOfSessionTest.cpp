// The end of the Windows session while the utility runs. A program of its own, run by the
// test command in a Wine prefix and session of its own: ending the session ends every
// program of it that has a window, the tray host among them, and nothing else should run
// in that session after it.
#include <thread>

#include "app/UtilityState.h"
#include "tests/win/e2e_journeys/Journey.h"

namespace hx::test {
namespace {

class EndOfSession : public Journey {};

BOOL CALLBACK CountOwnWindow(HWND hwnd, LPARAM count) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == ::GetCurrentProcessId()) ++*reinterpret_cast<int*>(count);
    return TRUE;
}
int OwnTopLevelWindows() {
    int count = 0;
    ::EnumWindows(&CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The session ends while the worker holds the service stopped. Wine's end of the session
// (wineboot --end-session; --shutdown leaves out the new session's start-up programs that
// would follow) asks every program's top-level windows whether the session may end, tells
// them it ends, and right after their answers ends each program still running, as Windows
// does. The service is given back before the utility answers: the simulator's report,
// rewritten at every change of the service, outlives the process and shows it.
TEST_F(EndOfSession, TheEndOfTheSessionGivesTheServiceBackBeforeTheProcessIsEnded) {
    ExitReport exitReport("journey_session");
    SeedWpaPsk(kWpaTkipSsid, kWpaTkipPassphrase, 4);
    Start();
    ASSERT_TRUE(WaitForSim("port.authorised", "yes", 20s)) << SimCommand("show");
    EXPECT_EQ(ReportValue(exitReport.Text(), "wzc.service").substr(0, 7), "stopped") << "stopped for the worker";
    ASSERT_EQ(OwnTopLevelWindows(), 0) << "the end of the session would end this program too";

    const ConsoleRun ending = RunConsole("wineboot.exe --end-session --shutdown", "", 20s);
    EXPECT_EQ(ending.exitCode, 0u) << ending.err;
    ASSERT_TRUE(utility.WaitForExit(5s)) << "the utility ends with the session";
    const std::string service = ReportValue(exitReport.Text(), "wzc.service");
    EXPECT_EQ(service.substr(0, 7), "running") << service;
    EXPECT_EQ(CountAfter(service, "stopped"), 1) << service;
    EXPECT_EQ(CountAfter(service, "started"), 1) << service;
}

}  // namespace
}  // namespace hx::test
