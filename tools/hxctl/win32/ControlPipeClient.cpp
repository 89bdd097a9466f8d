#include "tools/hxctl/win32/ControlPipeClient.h"

#include <windows.h>

#include <vector>

#include "app/VendorLibraries.h"
#include "framework/win32/Handles.h"

namespace hx::ctl::win {
namespace {

using hx::win::UniqueFileHandle;
using hx::win::UniqueKernelHandle;

constexpr DWORD kBusyWaitMs = 5000;

Exchange NotReached(std::string message) {
    Exchange exchange;
    exchange.code = ExitStatus::NotRunning;
    exchange.message = std::move(message);
    return exchange;
}

Exchange Broken(const std::string& what) {
    Exchange exchange;
    exchange.code = ExitStatus::Unknown;
    exchange.message = what + " (error " + std::to_string(::GetLastError()) + ")";
    return exchange;
}

// The process of the utility's main window, or 0 when there is none. user32 is loaded only
// here: a console program that imports it pays its start-up (under Wine a good part of a
// status request's time) on every run.
DWORD UtilityWindowProcess() {
    using FindWindowFunction = HWND(WINAPI*)(LPCSTR, LPCSTR);
    using WindowProcessFunction = DWORD(WINAPI*)(HWND, LPDWORD);
    const HMODULE user32 = ::LoadLibraryA("user32.dll");
    if (user32 == nullptr) return 0;
    const auto findWindow = reinterpret_cast<FindWindowFunction>(reinterpret_cast<void*>(::GetProcAddress(user32, "FindWindowA")));
    const auto windowProcess =
        reinterpret_cast<WindowProcessFunction>(reinterpret_cast<void*>(::GetProcAddress(user32, "GetWindowThreadProcessId")));
    if (findWindow == nullptr || windowProcess == nullptr) return 0;
    HWND window = findWindow(nullptr, kUtilityWindowTitle);
    if (window == nullptr) window = findWindow(nullptr, hx::kSimulatedMainWindowTitle);
    DWORD process = 0;
    if (window != nullptr) windowProcess(window, &process);
    return process;
}

// Whether the process runs the utility's program (HX88UUtil.exe), told by its image.
bool RunsUtilityProgram(DWORD processId) {
    const HANDLE raw = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (raw == nullptr) return false;
    const UniqueKernelHandle process(raw);
    char path[MAX_PATH * 2];
    DWORD length = sizeof path;
    if (!::QueryFullProcessImageNameA(process.Get(), 0, path, &length)) return false;
    const std::string image(path, length);
    const size_t slash = image.find_last_of("\\/");
    return ::lstrcmpiA(image.substr(slash == std::string::npos ? 0 : slash + 1).c_str(), kUtilityProgram) == 0;
}

UniqueFileHandle OpenPipe(const std::string& pipeName, DWORD& error) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        UniqueFileHandle pipe(::CreateFileA(pipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
        error = ::GetLastError();
        if (pipe || error != ERROR_PIPE_BUSY) return pipe;
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= kBusyWaitMs) return pipe;
        // Every instance is serving another client: wait for the next free one.
        ::WaitNamedPipeA(pipeName.c_str(), kBusyWaitMs - waited);
    }
}

}  // namespace

Exchange TransactControlPipe(const std::string& pipeName, const std::string& request) {
    DWORD error = 0;
    const UniqueFileHandle pipe = OpenPipe(pipeName, error);
    if (!pipe) {
        if (error == ERROR_PIPE_BUSY) return NotReached("the utility's control channel stayed busy: " + pipeName);
        if (UtilityWindowProcess() != 0) {
            // Its window comes before its channel: a utility just started has not opened it yet.
            Exchange starting = NotReached("the utility runs without its control channel: " + pipeName + " is missing");
            starting.starting = true;
            return starting;
        }
        return NotReached("HX-88U Utility is not running");
    }
    // The pass phrase and keys go only to the utility itself: the pipe's server runs the
    // utility's program, or owns the utility's window.
    ULONG server = 0;
    if (!::GetNamedPipeServerProcessId(pipe.Get(), &server)) return Broken("the pipe's server is unknown");
    if (!RunsUtilityProgram(server)) {
        const DWORD utility = UtilityWindowProcess();
        if (utility == 0) return NotReached("HX-88U Utility is not running");
        if (server != utility)
            return NotReached("the utility runs without its control channel: another program holds " + pipeName);
    }

    DWORD mode = PIPE_READMODE_MESSAGE;
    if (!::SetNamedPipeHandleState(pipe.Get(), &mode, nullptr, nullptr)) return Broken("the pipe refused message mode");
    std::vector<char> buffer(64 * 1024);
    DWORD read = 0;
    std::string reply;
    BOOL done = ::TransactNamedPipe(pipe.Get(), const_cast<char*>(request.data()), static_cast<DWORD>(request.size()),
                                    buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr);
    reply.append(buffer.data(), read);
    while (!done && ::GetLastError() == ERROR_MORE_DATA) {
        if (reply.size() > kMaxControlReplyBytes) return Broken("the utility's reply is too long");
        read = 0;
        done = ::ReadFile(pipe.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr);
        reply.append(buffer.data(), read);
    }
    if (!done) return Broken("the utility ended the exchange");
    Exchange exchange;
    exchange.reached = true;
    exchange.reply = std::move(reply);
    exchange.code = ExitStatus::Ok;
    return exchange;
}

}  // namespace hx::ctl::win
