// The chaos run: for a given time the simulated adapter suffers random faults while a
// scripted user drives the running utility with hxctl and through its window. Throughout,
// the utility must not end, its window must answer within 1 s, its registry key must hold
// nothing the script did not cause, and what it holds (memory, GDI and USER objects,
// handles) must stay flat. At the end, with every fault undone, the link to the last
// network applied must come back by itself within 30 s, and the last connect must succeed
// and hold.
//
//   HX_CHAOS_SECONDS   how long the faults and the user go on (default 30)
//   HX_CHAOS_SEED      the seed of the run (default: a new one, printed); the same seed
//                      gives the same faults and requests, in the same order and spacing
//
// Figures at the end: faults fired by kind, requests by verb and outcome, the window's
// worst answer, and the figures of the process at the start and the end.
#include <gtest/gtest.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

#include "resources/resource.h"
#include "tests/win/common/ConsoleProgram.h"
#include "tests/win/common/SimulatorProbe.h"
#include "tests/win/common/UtilityProcess.h"
#include "tests/win/e2e_chaos/FaultMaker.h"
#include "tests/win/e2e_chaos/ScriptedUser.h"
#include "tests/win/e2e_chaos/Watchers.h"

namespace hx::test::chaos {
namespace {

using namespace std::chrono_literals;

uint64_t Seed() {
    if (const char* text = std::getenv("HX_CHAOS_SEED"); text != nullptr && *text != '\0')
        return std::strtoull(text, nullptr, 10);
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32 | device()) % 1000000000000ull;
}

std::chrono::seconds Length() {
    const char* text = std::getenv("HX_CHAOS_SECONDS");
    const long seconds = text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : 30;
    return std::chrono::seconds(std::clamp(seconds, 10L, 24L * 3600));
}

// Waits for the link to this network, with its keys for WPA; how long it took, or -1 s.
double SecondsToLink(ChaosRun& run, const Network& network, std::chrono::seconds limit) {
    const auto asked = Clock::now();
    const bool wpa = IsWpa(network);
    const bool linked = WaitFor([&] {
        const std::string show = run.Sim("show");
        return ReportValue(show, "link.ssid") == Quoted(network.ssid) &&
               ReportValue(show, "link.associated") == "yes" && (!wpa || ReportValue(show, "port.authorised") == "yes");
    }, limit);
    return linked ? std::chrono::duration<double>(Clock::now() - asked).count() : -1;
}

TEST(Chaos, FaultsWhileAUserDrivesTheUtility) {
    const uint64_t seed = Seed();
    const std::chrono::seconds length = Length();
    const std::string again = std::string("HX_CHAOS_SEED=") + std::to_string(seed) + " HX_CHAOS_SECONDS=" +
                              std::to_string(length.count()) + " repeats the run";
    std::printf("chaos run of %lld s, seed %" PRIu64 " (%s)\n", static_cast<long long>(length.count()), seed,
                again.c_str());

    // The utility starts on a WPA network, so the stand-ins' first handshake, which gathers
    // entropy over every handle of the system, is over before hxctl starts processes.
    ClearUtilityRegistry();
    const Network& seeded = kNetworks[2];
    ASSERT_TRUE(SeedNumber("LastSetting", "NetworkType", 1));
    ASSERT_TRUE(SeedNumber("LastSetting", "AuthenticationMode", 4));
    ASSERT_TRUE(SeedNumber("LastSetting", "WEPStatus", 4));
    ASSERT_TRUE(SeedText("LastSetting", "SSID", seeded.ssid));
    ASSERT_TRUE(SeedText("LastSetting", "Dot1xPassphrase", seeded.key));
    ScenarioFile world;
    ASSERT_TRUE(world.World(kScenario).Install("chaos"));
    UtilityProcess utility;
    ASSERT_TRUE(utility.Start());
    HWND window = utility.WaitForMainWindow(20s);
    ASSERT_NE(window, nullptr);

    ChaosRun run(seed, length);
    ASSERT_GE(SecondsToLink(run, seeded, 60s), 0) << SimCommand("events");
    ASSERT_EQ(RunConsole(ProgramCommand("hxctl.exe", "-t status --wait 30")).exitCode, 0u);

    RegistryModel registry(seeded);
    WindowUser windowUser(run, window, utility.ProcessId());
    windowUser.Tour();
    ResourceWatch resources(run, utility.ProcessId(), std::clamp(std::chrono::milliseconds(length) / 40,
                                                                  std::chrono::milliseconds(3s), std::chrono::milliseconds(30s)));
    resources.Read();
    FaultMaker faults(run);
    HxctlUser hxctl(run, registry);
    AnswerWatch answers(run, window);
    std::atomic<bool> hxctlDone{false};
    std::thread hxctlThread([&] {
        hxctl.Loop();
        hxctlDone = true;
    });
    std::thread actors[] = {std::thread([&] { faults.Loop(); }), std::thread([&] { windowUser.Loop(); })};
    std::thread watchers[] = {std::thread([&] { answers.Loop(); }), std::thread([&] { resources.Loop(); })};

    while (!run.Over() && utility.Running()) ::Sleep(200);
    run.actors.Stop();
    for (std::thread& actor : actors) actor.join();
    // The utility holds a request while one of its dialogs is open: the user goes on answering
    // them until hxctl's last request has ended.
    while (!hxctlDone && utility.Running()) {
        windowUser.AnswerDialogs();
        ::Sleep(300);
    }
    hxctlThread.join();
    if (utility.Running()) {
        run.Log("the faults stop");
        faults.UndoAll();
        windowUser.AnswerDialogs();
        // With the adapter back, the utility rejoins the setting in force as it does at
        // start, without being told again.
        if (const Network* last = hxctl.LastApplied(); last != nullptr && hxctl.LastJoinGaveUp()) {
            run.Log(std::string("the last join of ") + last->ssid +
                    " ended without keys under a fault: its worker gave up and is not started again by itself");
        } else if (last != nullptr) {
            const double back = SecondsToLink(run, *last, 30s);
            if (back < 0)
                run.Problem(std::string("the link to ") + last->ssid + " did not come back by itself within 30 s:\n" +
                            run.Sim("show") + run.Sim("events"));
            else
                run.Log(std::string("the link to ") + last->ssid + " came back by itself in " +
                        std::to_string(static_cast<int>(back)) + " s");
        }
        hxctl.LastConnectHolds(20s);
    }
    run.watchers.Stop();
    for (std::thread& watcher : watchers) watcher.join();
    if (utility.Running()) {
        resources.Read();
        resources.Judge();
        ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
        if (!utility.WaitForExit(15s)) run.Problem("the utility did not end within 15 s of Exit");
    } else {
        run.Problem(std::string("the utility ended by itself, exit code ") + std::to_string(utility.ExitCode()));
    }
    ClearUtilityRegistry();

    std::printf("\n== chaos run of %lld s, seed %" PRIu64 "\nfaults fired, by kind:\n%s", static_cast<long long>(length.count()),
                seed, run.faults.Describe().c_str());
    std::printf("requests, by verb and outcome:\n%slongest request of each verb:\n%s", run.requests.Describe().c_str(),
                hxctl.Slowest().c_str());
    std::printf("window actions:\n%sdialogs answered:\n%s", run.window.Describe().c_str(), run.dialogs.Describe().c_str());
    std::printf("window answers:\n%swhat the utility holds:\n%s", answers.Figures().c_str(), resources.Figures().c_str());
    for (const std::string& problem : run.Problems()) ADD_FAILURE() << problem << "\n(" << again << ")";
}

}  // namespace
}  // namespace hx::test::chaos
