#include "tests/win/common/UtilityProcess.h"

#include <vector>

#include "app/UtilityState.h"
#include "app/VendorLibraries.h"
#include "tests/win/common/ConsoleProgram.h"

namespace hx::test {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.erase(folder.find_last_of("\\/"));
    return folder;
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

namespace {
bool Poll(const std::function<bool()>& cond, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (true) {
        PumpMessages();
        if (cond()) return true;
        if (std::chrono::steady_clock::now() >= end) return cond();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
}  // namespace

bool WaitFor(const std::function<bool()>& cond, std::chrono::milliseconds limit) {
    return Poll(cond, limit * kPatience);
}

bool StaysFalse(const std::function<bool()>& cond, std::chrono::milliseconds period) { return !Poll(cond, period); }

void PumpFor(std::chrono::milliseconds period) {
    Poll([] { return false; }, period);
}

std::chrono::milliseconds LoadAllowance(HWND window, const std::function<bool()>& look) {
    const auto began = std::chrono::steady_clock::now();
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
    look();
    return 2 * std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
}

namespace {
struct TitleSearch {
    DWORD processId;  // 0: any process
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTitled(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<TitleSearch*>(lParam);
    char text[256] = {};
    ::GetWindowTextA(hwnd, text, sizeof text);
    if (!IsMainWindowTitle(text)) return TRUE;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (search->processId == 0 || pid == search->processId) search->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

bool RunsEmulated() { return ::GetEnvironmentVariableA("HX_EMULATED_32BIT", nullptr, 0) > 0; }

int CountUtilityWindows() {
    TitleSearch search{0, {}};
    ::EnumWindows(&CollectTitled, reinterpret_cast<LPARAM>(&search));
    return static_cast<int>(search.found.size());
}

UtilityProcess::~UtilityProcess() {
    Kill();
    if (info_.hProcess) ::CloseHandle(info_.hProcess);
    if (info_.hThread) ::CloseHandle(info_.hThread);
}

bool UtilityProcess::Start(const std::string& arguments, const std::string& folder) {
    const std::string exe = folder + "\\HX88UUtil.exe";
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return StartRetried(commandLine, [&] {
               return ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                       folder.c_str(), &startup, &info_)
                          ? std::string()
                          : FailedStep("CreateProcess");
           }).empty();
}

bool UtilityProcess::Running() const {
    return info_.hProcess != nullptr && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool UtilityProcess::WaitForExit(std::chrono::milliseconds limit) {
    if (info_.hProcess == nullptr) return true;
    return WaitFor([&] { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }, limit);
}

DWORD UtilityProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (info_.hProcess) ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void UtilityProcess::Kill() {
    if (Running()) {
        ::TerminateProcess(info_.hProcess, 99);
        ::WaitForSingleObject(info_.hProcess, 5000);
    }
}

HWND UtilityProcess::MainWindow() const {
    TitleSearch search{info_.dwProcessId, {}};
    ::EnumWindows(&CollectTitled, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

HWND UtilityProcess::WaitForMainWindow(std::chrono::milliseconds limit) const {
    HWND hwnd = nullptr;
    WaitFor([&] { return (hwnd = MainWindow()) != nullptr; }, limit);
    return hwnd;
}

void ClearUtilityRegistry() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tessaro\\HX88UUtil");
}

}  // namespace hx::test
