// How long the utility takes from the start of its process to its first shown window, next
// to Wine's Notepad started the same way, in turns, in the same run: the machine's load
// moves both alike. Prints the median and the 90th percentile of each and the ratio of the
// medians; the goal is the utility at most 0.9 times Notepad.
// A third program takes its turn too, bench_window_floor.exe: the utility's main dialog made
// by the dialog manager alone, with the utility's imports and resources. Its ratio to
// Notepad is the floor: the lowest ratio any start of that window could reach here.
//   bench_start_to_window.exe [runs]    (default 21)
// The utility starts from the program's folder with an empty registry key and the default
// world, and is ended through "Exit" after each run. Exit status 0 when every run showed
// its window.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "bench/win/Figures.h"
#include "resources/resource.h"
#include "tests/win/common/UtilityProcess.h"

using namespace std::chrono_literals;
using namespace hx::test;
using hx::bench::Figures;
using hx::bench::Summarise;

namespace {

struct ShownSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK FindShown(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ShownSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->processId || !::IsWindowVisible(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

// Starts the program, times it to its first visible top-level window, then ends it with the
// message given (posted to that window). False when no window showed within 30 s.
bool TimedStart(const std::string& program, UINT closeMessage, WPARAM closeParam, std::vector<double>& into) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program + "\"";
    // Wine now and then refuses a start just after the program's previous process ended
    // (error 1359): a start refused is tried again; the time counts from the start taken.
    std::chrono::steady_clock::time_point started;
    for (int attempt = 1;; ++attempt) {
        started = std::chrono::steady_clock::now();
        if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             ProgramFolder().c_str(), &startup, &process))
            break;
        std::fprintf(stderr, "%s did not start (error %lu, attempt %d of 3)\n", program.c_str(), ::GetLastError(),
                     attempt);
        if (attempt == 3) return false;
        ::Sleep(500);
    }
    ShownSearch search{process.dwProcessId};
    while (search.found == nullptr && std::chrono::steady_clock::now() - started < 30s) {
        ::EnumWindows(&FindShown, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) ::Sleep(1);
    }
    const auto shown = std::chrono::steady_clock::now();
    if (search.found != nullptr) {
        into.push_back(std::chrono::duration<double, std::milli>(shown - started).count());
        ::PostMessageA(search.found, closeMessage, closeParam, 0);
    } else {
        std::fprintf(stderr, "%s showed no window within 30 s\n", program.c_str());
    }
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 99);
        ::WaitForSingleObject(process.hProcess, 5000);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return search.found != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 21;
    const std::string utility = ProgramFolder() + "\\HX88UUtil.exe";
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::string notepad = std::string(system) + "\\notepad.exe";

    // The three programs in the order of their turns; only the utility reads the registry.
    struct Contestant {
        const char* name;
        std::string program;
        UINT closeMessage;
        WPARAM closeParam;
        std::vector<double> ms;
    };
    Contestant contestants[] = {{"HX88UUtil.exe", utility, WM_COMMAND, ID_TRAY_EXIT, {}},
                                {"notepad.exe", notepad, WM_CLOSE, 0, {}},
                                {"bench_window_floor.exe", ProgramFolder() + "\\bench_window_floor.exe", WM_CLOSE, 0, {}}};
    constexpr size_t kCount = std::size(contestants);
    const auto start = [&](Contestant& c, std::vector<double>& into) {
        if (&c == &contestants[0]) ClearUtilityRegistry();
        return TimedStart(c.program, c.closeMessage, c.closeParam, into);
    };

    std::vector<double> warmUp;
    bool ok = true;
    for (Contestant& c : contestants) ok = ok && start(c, warmUp);
    for (int i = 0; ok && i < runs; ++i) {
        // Which starts first turns too: a start just after an exit may find work left over.
        for (size_t turn = 0; ok && turn < kCount; ++turn) {
            Contestant& c = contestants[(static_cast<size_t>(i) + turn) % kCount];
            ok = start(c, c.ms);
        }
    }
    ClearUtilityRegistry();
    if (!ok) return 1;

    Figures figures[kCount];
    std::printf("runs: %d of each, in turns\n", runs);
    for (size_t k = 0; k < kCount; ++k) {
        figures[k] = Summarise(contestants[k].ms);
        std::printf("%s: median %.1f ms, p90 %.1f ms\n", contestants[k].name, figures[k].median, figures[k].p90);
    }
    std::printf("ratio: median %.2f (goal: at most 0.90)\n", figures[0].median / figures[1].median);
    std::printf("floor ratio: median %.2f (the main dialog from its template alone)\n",
                figures[2].median / figures[1].median);
    return 0;
}
