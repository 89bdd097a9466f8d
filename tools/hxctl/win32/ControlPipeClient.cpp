#include "tools/hxctl/win32/ControlPipeClient.h"

#include <windows.h>

#include <vector>

#include "app/VendorLibraries.h"
#include "framework/win32/Handles.h"
#include "framework/win32/UserOnlySecurity.h"
#include "tools/hxctl/win32/Utf8.h"

namespace hx::ctl::win {
namespace {

using hx::win::UniqueFileHandle;
using hx::win::UniqueKernelHandle;
using hx::win::Utf8;

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

// A path as Windows compares paths: full, long names for short ones, no "\\?\" in front.
std::wstring Normalised(std::wstring path) {
    if (path.rfind(L"\\\\?\\", 0) == 0) path.erase(0, 4);
    wchar_t full[4096];
    DWORD length = ::GetFullPathNameW(path.c_str(), 4096, full, nullptr);
    if (length > 0 && length < 4096) path.assign(full, length);
    length = ::GetLongPathNameW(path.c_str(), full, 4096);
    if (length > 0 && length < 4096) path.assign(full, length);
    return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return !a.empty() && ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The programs the secrets may go to: the utility beside hxctl, and the installed one.
std::vector<std::wstring> UtilityPrograms() {
    std::vector<std::wstring> programs;
    wchar_t self[4096];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, 4096);
    std::wstring beside(self, length > 0 && length < 4096 ? length : 0);
    const size_t slash = beside.find_last_of(L"\\/");
    const std::wstring program = hx::win::Wide(kUtilityProgram);
    if (slash != std::wstring::npos) programs.push_back(Normalised(beside.substr(0, slash + 1) + program));
    wchar_t folder[4096];
    DWORD size = sizeof folder;
    if (::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation", RRF_RT_REG_SZ, nullptr, folder, &size) ==
            ERROR_SUCCESS &&
        folder[0] != L'\0')
        programs.push_back(Normalised(std::wstring(folder) + L"\\" + program));
    return programs;
}

// What Windows tells of the process serving the pipe.
struct Server {
    DWORD error = 0;          // not 0: the process could not be asked
    bool sameUser = false;    // its token's user is this process's
    std::wstring image;       // its program, normalised
};

Server AskServer(HANDLE pipe) {
    Server server;
    const auto failed = [&server] {
        server.error = ::GetLastError() != 0 ? ::GetLastError() : ERROR_ACCESS_DENIED;
        return server;
    };
    ULONG id = 0;
    if (!::GetNamedPipeServerProcessId(pipe, &id)) return failed();
    const UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    wchar_t image[4096];
    DWORD length = 4096;
    if (!process || !::QueryFullProcessImageNameW(process.Get(), 0, image, &length)) return failed();
    server.image = Normalised(std::wstring(image, length));
    const std::vector<BYTE> theirs = hx::win::TokenUserOf(process.Get());
    const std::vector<BYTE> mine = hx::win::TokenUserOf(::GetCurrentProcess());
    if (theirs.empty() || mine.empty()) return failed();
    server.sameUser = ::EqualSid(reinterpret_cast<const TOKEN_USER*>(theirs.data())->User.Sid,
                                 reinterpret_cast<const TOKEN_USER*>(mine.data())->User.Sid) != FALSE;
    return server;
}

// Why the request may not go to this server, or empty when it may. Every request needs a
// server of this user; one that carries a secret needs the utility's own program too,
// where another request also takes the process that owns the utility's window.
std::string RefusedServer(HANDLE pipe, const std::string& pipeName, bool secret) {
    const Server server = AskServer(pipe);
    const std::string serving = "the program serving " + pipeName;
    if (server.error != 0 && secret)
        return serving + " cannot be identified (error " + std::to_string(server.error) +
               "): the pass phrase or key was not sent";
    if (server.error == 0 && !server.sameUser) return serving + " runs as another user: nothing was sent";
    if (server.error == 0) {
        for (const std::wstring& program : UtilityPrograms())
            if (SamePath(server.image, program)) return {};
        if (secret)
            return serving + " is " + Utf8(server.image) +
                   ", not the utility beside hxctl or the installed one: the pass phrase or key was not sent";
    }
    ULONG id = 0;
    ::GetNamedPipeServerProcessId(pipe, &id);
    const DWORD utility = UtilityWindowProcess();
    if (utility == 0) return "HX-88U Utility is not running";
    if (id != utility) return "the utility runs without its control channel: another program holds " + pipeName;
    return {};
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

Exchange TransactControlPipe(const std::string& pipeName, const std::string& request, bool secret) {
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
    if (std::string refused = RefusedServer(pipe.Get(), pipeName, secret); !refused.empty())
        return NotReached(std::move(refused));

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
