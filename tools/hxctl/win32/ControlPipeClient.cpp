#include "tools/hxctl/win32/ControlPipeClient.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

#include "framework/win32/Handles.h"

namespace hx::ctl::win {
namespace {

struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct TokenHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueFile = hx::win::UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueToken = hx::win::UniqueHandle<HANDLE, TokenHandleTraits>;

constexpr DWORD kBusyWaitMs = 5000;

std::string UserSidText() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
    const UniqueToken token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !::GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) return {};
    char* text = nullptr;
    if (!::ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return {};
    std::string sid = text;
    ::LocalFree(text);
    return sid;
}

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

// The process of the utility's main window, or 0 when there is none.
DWORD UtilityWindowProcess() {
    const HWND window = ::FindWindowA(nullptr, kUtilityWindowTitle);
    DWORD process = 0;
    if (window != nullptr) ::GetWindowThreadProcessId(window, &process);
    return process;
}

UniqueFile OpenPipe(const std::string& pipeName, DWORD& error) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        UniqueFile pipe(::CreateFileA(pipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
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

std::string ControlPipeName() {
    char given[512];
    const DWORD length = ::GetEnvironmentVariableA("HX_CONTROL_PIPE", given, sizeof given);
    if (length > 0 && length < sizeof given) return std::string(given, length);
    return "\\\\.\\pipe\\hx88uutil-" + UserSidText();
}

Exchange TransactControlPipe(const std::string& pipeName, const std::string& request) {
    DWORD error = 0;
    const UniqueFile pipe = OpenPipe(pipeName, error);
    const DWORD utility = UtilityWindowProcess();
    if (!pipe) {
        if (error == ERROR_PIPE_BUSY) return NotReached("the utility's control channel stayed busy: " + pipeName);
        if (utility != 0) return NotReached("the utility runs without its control channel: " + pipeName + " is missing");
        return NotReached("HX-88U Utility is not running");
    }
    // The pass phrase and keys go only to the utility itself.
    ULONG server = 0;
    if (!::GetNamedPipeServerProcessId(pipe.Get(), &server)) return Broken("the pipe's server is unknown");
    if (utility == 0) return NotReached("HX-88U Utility is not running");
    if (server != utility)
        return NotReached("the utility runs without its control channel: another program holds " + pipeName);

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
