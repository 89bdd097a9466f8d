// How long `hxctl status` takes from its start to its end against the running utility,
// next to `reg query` of one of the utility's values: two small console programs started
// the same way, in turns, in the same run. Prints the median and the 90th percentile of
// each and their ratios; the goal is hxctl at most 1.5 times reg query. `hxctl --help`, which
// sends no request, runs in the same turns: what the process itself costs.
//   bench_hxctl_status.exe [runs]    (default 30)
// Starts the utility from the program's folder with a stored WPA-PSK setting of the
// default world and ends it after. Exit status 0 when every run of both succeeded.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win/Figures.h"
#include "resources/resource.h"
#include "tests/win/common/ConsoleProgram.h"
#include "tests/win/common/RegistryProbe.h"
#include "tests/win/common/SimulatorProbe.h"
#include "tests/win/common/UtilityProcess.h"

using namespace std::chrono_literals;
using namespace hx::test;
using hx::bench::Figures;
using hx::bench::Summarise;

namespace {

// One timed run; false (with what it said) when it failed.
bool Timed(const std::string& commandLine, std::vector<double>& into) {
    const ConsoleRun run = RunConsole(commandLine, "", 30s);
    if (!run.ended || run.exitCode != 0) {
        std::fprintf(stderr, "%s ended with %lu\n%s%s", commandLine.c_str(), run.exitCode, run.out.c_str(),
                     run.err.c_str());
        return false;
    }
    into.push_back(run.took.count() / 1000.0);
    return true;
}

bool SeedLinkedSetting() {
    return SeedNumber("LastSetting", "NetworkType", 1) && SeedNumber("LastSetting", "AuthenticationMode", 4) &&
           SeedNumber("LastSetting", "WEPStatus", 4) && SeedText("LastSetting", "SSID", "WPA-TKIP-Home") &&
           SeedText("LastSetting", "Dot1xPassphrase", "tkip-passphrase");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 30;
    const std::string hxctl = ProgramCommand("hxctl.exe", "status");
    const std::string help = ProgramCommand("hxctl.exe", "--help");
    const std::string reg = "reg.exe query HKCU\\Software\\Tessaro\\HX88UUtil\\LastSetting /v SSID";

    ClearUtilityRegistry();
    if (!SeedLinkedSetting()) return std::fprintf(stderr, "the setting could not be stored\n"), 1;
    UtilityProcess utility;
    if (!utility.Start() || utility.WaitForMainWindow(10s) == nullptr)
        return std::fprintf(stderr, "the utility did not start\n"), 1;
    const bool linked = WaitFor([] { return SimState("port.authorised") == "yes"; }, 60s);
    if (!linked) std::fprintf(stderr, "the utility did not join its network; timing status without a link\n");

    std::vector<double> hxctlMs, regMs, helpMs, warmUp;
    bool ok = Timed(hxctl, warmUp) && Timed(reg, warmUp) && Timed(help, warmUp);
    for (int i = 0; ok && i < runs; ++i) ok = Timed(hxctl, hxctlMs) && Timed(reg, regMs) && Timed(help, helpMs);

    if (HWND window = utility.MainWindow()) ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
    if (!utility.WaitForExit(10s)) utility.Kill();
    ClearUtilityRegistry();
    if (!ok) return 1;

    const Figures h = Summarise(hxctlMs), r = Summarise(regMs), p = Summarise(helpMs);
    std::printf("runs: %d of each, in turns%s\n", runs, linked ? ", the utility linked" : "");
    std::printf("hxctl status: median %.1f ms, p90 %.1f ms\n", h.median, h.p90);
    std::printf("reg query:    median %.1f ms, p90 %.1f ms\n", r.median, r.p90);
    std::printf("hxctl --help: median %.1f ms, p90 %.1f ms (no request)\n", p.median, p.p90);
    std::printf("ratio: median %.2f, p90 %.2f (goal: at most 1.50)\n", h.median / r.median, h.p90 / r.p90);
    return 0;
}
