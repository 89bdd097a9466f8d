// The control channel on Windows: a message-mode named pipe served by one thread of the
// library. Each client connection carries one command and gets one reply (CallNamedPipe
// on the client's side). The pipe is named by HXSIM_PIPE, or else after the program that
// loaded the library: \\.\pipe\hxsim-<program name in lower case>, e.g.
// \\.\pipe\hxsim-hx88uutil. Only the first process of a name serves it.
//
// The channel steers the simulation only, but it ships inside the product: it answers
// local clients alone, and only the user the process runs as may open it.
#include <windows.h>

#include <atomic>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "framework/win32/UserOnlySecurity.h"
#include "sim/vuvavo/ControlServer.h"
#include "sim/vuvavo/SimulatorHost.h"

namespace hxsim {
namespace {

constexpr DWORD kBufferSize = 64 * 1024;
// A client that sends nothing, or reads nothing, for this long is dropped: with one
// instance, a silent client would otherwise keep every other one out for good. Generous,
// since a client of a loaded (or emulated) machine may take seconds between its connect and
// its request.
constexpr DWORD kClientLimitMs = 5000;

std::string PipeName() {
    char value[256];
    const DWORD n = ::GetEnvironmentVariableA("HXSIM_PIPE", value, sizeof value);
    if (n > 0 && n < sizeof value) return value;
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string program(path, length < sizeof path ? length : 0);
    const size_t slash = program.find_last_of("\\/");
    if (slash != std::string::npos) program.erase(0, slash + 1);
    const size_t dot = program.rfind('.');
    if (dot != std::string::npos) program.erase(dot);
    for (char& c : program) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "\\\\.\\pipe\\hxsim-" + program;
}

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// Waits for an overlapped read or write started on the pipe, at most kClientLimitMs; false
// when it failed or the time ran out (the operation is then cancelled).
bool Finish(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, DWORD& transferred) {
    if (!started && ::GetLastError() != ERROR_IO_PENDING) return false;
    if (!started && ::WaitForSingleObject(overlapped.hEvent, kClientLimitMs) != WAIT_OBJECT_0) {
        ::CancelIo(pipe);
        ::GetOverlappedResult(pipe, &overlapped, &transferred, TRUE);
        return false;
    }
    return ::GetOverlappedResult(pipe, &overlapped, &transferred, FALSE) != FALSE;
}

void ServeOne(HANDLE pipe, HANDLE event) {
    std::string request(kBufferSize, '\0');
    DWORD read = 0;
    OVERLAPPED reading{};
    reading.hEvent = event;
    ::ResetEvent(event);
    if (!Finish(pipe, reading, ::ReadFile(pipe, request.data(), kBufferSize - 1, &read, &reading), read)) return;
    request.resize(read);
    while (!request.empty() && (request.back() == '\n' || request.back() == '\r' || request.back() == '\0'))
        request.pop_back();
    const ControlReply reply = Control(request);
    std::string text = (reply.ok ? "ok\n" : "error\n") + reply.text;
    if (text.size() > kBufferSize) text.resize(kBufferSize);
    DWORD written = 0;
    OVERLAPPED writing{};
    writing.hEvent = event;
    ::ResetEvent(event);
    const BOOL started = ::WriteFile(pipe, text.data(), static_cast<DWORD>(text.size()), &written, &writing);
    if (Finish(pipe, writing, started, written)) ::FlushFileBuffers(pipe);
}

DWORD WINAPI ServeControl(void* name) {
    const std::string pipeName = *static_cast<std::string*>(name);
    delete static_cast<std::string*>(name);
    hx::win::UserOnlySecurity security;
    if (security.Attributes() == nullptr) return 1;  // never served with the default access
    // One instance, made once and served client after client. Closed and made anew after
    // each client, the name would be free for a moment: another process could take it, and
    // this one could serve it no more. With at most one instance, nobody can add another.
    HANDLE pipe = ::CreateNamedPipeA(pipeName.c_str(),
                                     PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
                                     PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT |
                                         PIPE_REJECT_REMOTE_CLIENTS,
                                     1, kBufferSize, kBufferSize, 0, security.Attributes());
    if (pipe == INVALID_HANDLE_VALUE) return 1;  // another process serves this name
    const UniqueHandle holder(pipe);
    const UniqueHandle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!event) return 1;
    for (;;) {
        OVERLAPPED connecting{};
        connecting.hEvent = event.get();
        ::ResetEvent(event.get());
        DWORD unused = 0;
        BOOL connected = ::ConnectNamedPipe(pipe, &connecting);
        if (!connected && ::GetLastError() == ERROR_IO_PENDING)
            connected = ::GetOverlappedResult(pipe, &connecting, &unused, TRUE);  // clients may be long in coming
        else if (!connected)
            connected = ::GetLastError() == ERROR_PIPE_CONNECTED;
        if (connected) ServeOne(pipe, event.get());
        ::DisconnectNamedPipe(pipe);
    }
}

}  // namespace

void StartControlServer() {
    static std::atomic<bool> started{false};
    if (started.exchange(true)) return;
    // Keep the library loaded for as long as the serving thread runs.
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCSTR>(&StartControlServer), &self);
    HANDLE thread = ::CreateThread(nullptr, 0, ServeControl, new std::string(PipeName()), 0, nullptr);
    if (thread != nullptr) ::CloseHandle(thread);
}

}  // namespace hxsim
