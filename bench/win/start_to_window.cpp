// How long the utility takes from the start of its process to its first shown window, next
// to Wine's Notepad started the same way, in turns, in the same run: the machine's load
// moves both alike. Prints the median and the 90th percentile of each and the ratio of the
// medians; the goal is the utility at most 0.9 times Notepad.
//   bench_start_to_window.exe [runs]    (default 21)
// The utility starts from the program's folder with an empty registry key and the default
// world, and is ended through "Exit" after each run. Exit status 0 when every run showed
// its window.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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
    const auto started = std::chrono::steady_clock::now();
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, ProgramFolder().c_str(),
                          &startup, &process)) {
        std::fprintf(stderr, "%s did not start (error %lu)\n", program.c_str(), ::GetLastError());
        return false;
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

    const auto startUtility = [&](std::vector<double>& into) {
        ClearUtilityRegistry();
        return TimedStart(utility, WM_COMMAND, ID_TRAY_EXIT, into);
    };
    const auto startNotepad = [&](std::vector<double>& into) { return TimedStart(notepad, WM_CLOSE, 0, into); };

    std::vector<double> utilityMs, notepadMs, warmUp;
    bool ok = startUtility(warmUp) && startNotepad(warmUp);
    for (int i = 0; ok && i < runs; ++i) {
        // Which starts first alternates too: a start just after an exit may find work left over.
        ok = i % 2 == 0 ? startUtility(utilityMs) && startNotepad(notepadMs)
                        : startNotepad(notepadMs) && startUtility(utilityMs);
    }
    ClearUtilityRegistry();
    if (!ok) return 1;

    const Figures u = Summarise(utilityMs), n = Summarise(notepadMs);
    std::printf("runs: %d of each, in turns\n", runs);
    std::printf("HX88UUtil.exe: median %.1f ms, p90 %.1f ms\n", u.median, u.p90);
    std::printf("notepad.exe:   median %.1f ms, p90 %.1f ms\n", n.median, n.p90);
    std::printf("ratio: median %.2f (goal: at most 0.90)\n", u.median / n.median);
    return 0;
}
