// The control channel on Windows: a message-mode named pipe served by one thread, one
// request and one reply per connection. The pipe is \\.\pipe\hx88uutil-<the user's SID>,
// or the name in HX_CONTROL_PIPE. Only the user the utility runs as may open it, remote
// clients are refused, and an instance of ours always exists: the first is made with
// FILE_FLAG_FIRST_PIPE_INSTANCE, each next one before the one served is closed.
//
// Each request is posted to the main window and answered there, on the user-interface
// thread (RunControlJob), so the windows show what it did; the window may hold it back
// while one of its modal loops runs. A request not answered within its time limit is
// abandoned: the client is told so, and the request never runs. One still waiting when
// the server stops (the utility ends) is answered with status 8. Between clients the
// thread waits in one wait for a connection or its stop.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/win32/Handles.h"
#include "framework/win32/UserOnlySecurity.h"

namespace hx::win {

// One request on its way to the window thread and its reply back.
struct ControlJob;

class ControlPipeServer {
public:
    // A silent client is dropped after this long; the same limit holds for writing the
    // reply and for waiting for the client to close.
    static constexpr DWORD kClientLimitMs = 2000;
    // How long a request may wait for the user-interface thread, held back by a dialog
    // included.
    static constexpr DWORD kWindowLimitMs = 60000;

    // Null when the pipe cannot be made, as when another process holds the name: the
    // utility then runs without the channel.
    static std::unique_ptr<ControlPipeServer> Start(HWND window, UINT message, DWORD windowLimitMs = kWindowLimitMs);
    ~ControlPipeServer();
    ControlPipeServer(const ControlPipeServer&) = delete;
    ControlPipeServer& operator=(const ControlPipeServer&) = delete;

private:
    ControlPipeServer(HWND window, UINT message, DWORD windowLimitMs)
        : window_(window), message_(message), windowLimitMs_(windowLimitMs) {}
    static DWORD WINAPI ServeThread(void* server);
    HANDLE CreateInstance(bool first);
    void Serve(HANDLE first);
    // False when the stop came first.
    bool AwaitConnection(HANDLE instance);
    void ServeClient(HANDLE instance);
    bool Stopping() const;
    // Waits for an overlapped operation: true when it completed in time (*transferred set,
    // *error its error or 0); otherwise it is cancelled. A stoppable wait also ends at the
    // stop, set before or during it.
    bool Await(HANDLE instance, OVERLAPPED& overlapped, BOOL started, bool stoppable, DWORD limit,
               DWORD* transferred, DWORD* error);
    std::string AnswerOnWindowThread(std::string request);

    HWND window_;
    UINT message_;
    DWORD windowLimitMs_;
    UserOnlySecurity security_;
    std::string name_;
    HANDLE first_ = INVALID_HANDLE_VALUE;  // handed to the serving thread
    UniqueKernelHandle stop_;
    UniqueKernelHandle io_;
    UniqueKernelHandle thread_;
};

// The main window's side. The job a posted message carries, taken over from the message.
std::shared_ptr<ControlJob> TakeControlJob(LPARAM carried);
// Answers the job and wakes the pipe thread; nothing when the job was abandoned.
void RunControlJob(const std::shared_ptr<ControlJob>& job, const std::function<std::string(const std::string&)>& answer);

}  // namespace hx::win
