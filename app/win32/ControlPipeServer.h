// The control channel on Windows: a message-mode named pipe served by one thread, one
// request and one reply per connection. The pipe is \\.\pipe\hx88uutil-<the user's SID>,
// or the name in HX_CONTROL_PIPE. Only the user the utility runs as may open it, remote
// clients are refused, and an instance of ours always exists: the first is made with
// FILE_FLAG_FIRST_PIPE_INSTANCE, each next one before the one served is closed.
//
// Each request is posted to the main window and answered there, on the user-interface
// thread (RunControlJob), so the windows show what it did. Between clients the thread
// waits in one wait for a connection or its stop.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/win32/Handles.h"
#include "framework/win32/UserOnlySecurity.h"

namespace hx::win {

class ControlPipeServer {
public:
    // A silent client is dropped after this long; the same limit holds for writing the
    // reply and for waiting for the client to close.
    static constexpr DWORD kClientLimitMs = 2000;
    // How long a request may wait for the user-interface thread.
    static constexpr DWORD kWindowLimitMs = 60000;

    // Null when the pipe cannot be made, as when another process holds the name: the
    // utility then runs without the channel.
    static std::unique_ptr<ControlPipeServer> Start(HWND window, UINT message);
    ~ControlPipeServer();
    ControlPipeServer(const ControlPipeServer&) = delete;
    ControlPipeServer& operator=(const ControlPipeServer&) = delete;

private:
    ControlPipeServer(HWND window, UINT message) : window_(window), message_(message) {}
    static DWORD WINAPI ServeThread(void* server);
    HANDLE CreateInstance(bool first);
    void Serve(HANDLE first);
    // False when the stop came first.
    bool AwaitConnection(HANDLE instance);
    void ServeClient(HANDLE instance);
    // Waits for an overlapped operation: true when it completed in time (*transferred set,
    // *error its error or 0); otherwise it is cancelled.
    bool Await(HANDLE instance, OVERLAPPED& overlapped, BOOL started, DWORD limit, DWORD* transferred,
               DWORD* error);
    std::string AnswerOnWindowThread(std::string request);

    HWND window_;
    UINT message_;
    UserOnlySecurity security_;
    std::string name_;
    HANDLE first_ = INVALID_HANDLE_VALUE;  // handed to the serving thread
    UniqueKernelHandle stop_;
    UniqueKernelHandle io_;
    UniqueKernelHandle thread_;
};

// The main window's side: answers the job a posted message carries and wakes the pipe thread.
void RunControlJob(LPARAM job, const std::function<std::string(const std::string&)>& answer);

}  // namespace hx::win
