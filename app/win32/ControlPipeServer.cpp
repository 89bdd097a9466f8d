#include "app/win32/ControlPipeServer.h"

#include <atomic>

#include "app/ControlRecord.h"
#include "app/win32/ControlPipeName.h"

namespace hx::win {
namespace {

// The reply buffer is a size hint: a longer reply is written whole all the same.
constexpr DWORD kOutBufferSize = 64 * 1024;
constexpr SIZE_T kThreadStackBytes = 64 * 1024;

std::string ErrorReply(int code, const std::string& message) {
    return FormatControlMessage({ErrorStatus(code, message)});
}

// Whether another process serves the name already, listening or busy. Windows refuses
// FILE_FLAG_FIRST_PIPE_INSTANCE then; Wine creates the instance all the same, and clients
// would reach either server.
bool NameServed(const std::string& name) {
    return ::WaitNamedPipeA(name.c_str(), 1) || ::GetLastError() != ERROR_FILE_NOT_FOUND;
}

}  // namespace

// Waiting until either side settles it: the window thread claims it to run it, or the pipe
// thread abandons it after its client was answered without it.
struct ControlJob {
    enum : int { Waiting, Running, Abandoned };
    std::atomic<int> state{Waiting};
    std::string request;
    std::string reply;
    UniqueKernelHandle done{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};

    bool Settle(int to) {
        int expected = Waiting;
        return state.compare_exchange_strong(expected, to);
    }
};

std::unique_ptr<ControlPipeServer> ControlPipeServer::Start(HWND window, UINT message, DWORD windowLimitMs) {
    std::unique_ptr<ControlPipeServer> server(new ControlPipeServer(window, message, windowLimitMs));
    if (server->security_.Attributes() == nullptr) return nullptr;  // never served with the default access
    server->name_ = ControlPipeName();
    if (NameServed(server->name_)) return nullptr;
    const HANDLE first = server->CreateInstance(true);
    if (first == INVALID_HANDLE_VALUE) return nullptr;
    server->stop_.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    server->io_.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!server->stop_ || !server->io_) {
        ::CloseHandle(first);
        return nullptr;
    }
    // A small stack: the thread only moves bytes, and what it reserves stays resident all day.
    server->first_ = first;
    server->thread_.Reset(::CreateThread(nullptr, kThreadStackBytes, ServeThread, server.get(),
                                         STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!server->thread_) {
        ::CloseHandle(first);
        return nullptr;
    }
    return server;
}

DWORD WINAPI ControlPipeServer::ServeThread(void* server) {
    auto* self = static_cast<ControlPipeServer*>(server);
    self->Serve(self->first_);
    return 0;
}

ControlPipeServer::~ControlPipeServer() {
    if (stop_) ::SetEvent(stop_.Get());
    if (thread_) ::WaitForSingleObject(thread_.Get(), INFINITE);
}

HANDLE ControlPipeServer::CreateInstance(bool first) {
    // Two instances at most: the one being served and the next one waiting.
    return ::CreateNamedPipeA(name_.c_str(),
                              PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0),
                              PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 2,
                              kOutBufferSize, static_cast<DWORD>(kMaxControlRequestBytes), 0, security_.Attributes());
}

bool ControlPipeServer::Await(HANDLE instance, OVERLAPPED& overlapped, BOOL started, bool stoppable, DWORD limit,
                              DWORD* transferred, DWORD* error) {
    *error = started ? 0 : ::GetLastError();
    if (!started && *error == ERROR_IO_PENDING) {
        // The stop cuts short a wait for a client, never the writing of a reply, which has a
        // limit of its own: the last reply still reaches its client as the server stops.
        const HANDLE waits[2] = {stop_.Get(), io_.Get()};
        if (::WaitForMultipleObjects(stoppable ? 2 : 1, stoppable ? waits : waits + 1, FALSE, limit) !=
            (stoppable ? WAIT_OBJECT_0 + 1 : WAIT_OBJECT_0)) {
            ::CancelIo(instance);
            ::GetOverlappedResult(instance, &overlapped, transferred, TRUE);
            return false;
        }
    }
    *error = ::GetOverlappedResult(instance, &overlapped, transferred, FALSE) ? 0 : ::GetLastError();
    return true;
}

bool ControlPipeServer::AwaitConnection(HANDLE instance) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = io_.Get();
    ::ResetEvent(io_.Get());
    if (::ConnectNamedPipe(instance, &overlapped)) return true;
    DWORD error = ::GetLastError();
    if (error == ERROR_PIPE_CONNECTED) return true;
    // A client that came and went already is served as one that goes away; any other
    // failure is tried again a little later, never in a busy loop.
    if (error == ERROR_NO_DATA) return ::WaitForSingleObject(stop_.Get(), 0) != WAIT_OBJECT_0;
    if (error != ERROR_IO_PENDING) return ::WaitForSingleObject(stop_.Get(), kClientLimitMs) != WAIT_OBJECT_0;
    DWORD transferred = 0;
    if (!Await(instance, overlapped, FALSE, true, INFINITE, &transferred, &error)) return false;
    return true;
}

void ControlPipeServer::Serve(HANDLE first) {
    UniqueFileHandle instance(first);
    while (AwaitConnection(instance.Get())) {
        // The next instance exists before this one is closed, so the name is never free.
        UniqueFileHandle next(CreateInstance(false));
        ServeClient(instance.Get());
        // Stopping: the instance is closed, not disconnected, so the client still reads the
        // reply it was given.
        if (Stopping()) return;
        ::DisconnectNamedPipe(instance.Get());
        if (next) instance = std::move(next);
    }
}

bool ControlPipeServer::Stopping() const { return ::WaitForSingleObject(stop_.Get(), 0) == WAIT_OBJECT_0; }

void ControlPipeServer::ServeClient(HANDLE instance) {
    std::string request(kMaxControlRequestBytes, '\0');
    OVERLAPPED overlapped{};
    overlapped.hEvent = io_.Get();
    ::ResetEvent(io_.Get());
    DWORD read = 0, error = 0;
    const BOOL started = ::ReadFile(instance, request.data(), static_cast<DWORD>(request.size()), &read, &overlapped);
    if (!Await(instance, overlapped, started, true, kClientLimitMs, &read, &error)) return;  // silent: dropped
    std::string reply;
    if (error == ERROR_MORE_DATA) {
        reply = ErrorReply(ExitStatus::Usage, "request longer than 4096 bytes");
    } else if (error != 0) {
        return;  // the client went away
    } else {
        request.resize(read);
        reply = AnswerOnWindowThread(std::move(request));
    }

    overlapped = OVERLAPPED{};
    overlapped.hEvent = io_.Get();
    ::ResetEvent(io_.Get());
    DWORD written = 0;
    const BOOL writing = ::WriteFile(instance, reply.data(), static_cast<DWORD>(reply.size()), &written, &overlapped);
    if (!Await(instance, overlapped, writing, false, kClientLimitMs, &written, &error) || error != 0 || Stopping()) return;
    // Disconnecting drops what the client has not read yet: wait until it has closed its end.
    char scratch[512];
    for (int reads = 0; reads < 16; ++reads) {
        overlapped = OVERLAPPED{};
        overlapped.hEvent = io_.Get();
        ::ResetEvent(io_.Get());
        const BOOL more = ::ReadFile(instance, scratch, sizeof scratch, &read, &overlapped);
        if (!Await(instance, overlapped, more, true, kClientLimitMs, &read, &error)) return;
        if (error != 0 && error != ERROR_MORE_DATA) return;  // closed (ERROR_BROKEN_PIPE)
    }
}

std::string ControlPipeServer::AnswerOnWindowThread(std::string request) {
    auto job = std::make_shared<ControlJob>();
    job->request = std::move(request);
    if (!job->done) return ErrorReply(ExitStatus::Unknown, "out of resources");
    auto* carried = new std::shared_ptr<ControlJob>(job);
    if (!::PostMessageA(window_, message_, 0, reinterpret_cast<LPARAM>(carried))) {
        delete carried;
        return ErrorReply(ExitStatus::NotRunning, "the utility's window is gone");
    }
    const HANDLE waits[2] = {stop_.Get(), job->done.Get()};
    const DWORD waited = ::WaitForMultipleObjects(2, waits, FALSE, windowLimitMs_);
    if (waited == WAIT_OBJECT_0 + 1) return job->reply;
    if (job->Settle(ControlJob::Abandoned)) {
        if (waited == WAIT_OBJECT_0) return ErrorReply(ExitStatus::NotRunning, "HX-88U Utility ended before it answered");
        return ErrorReply(ExitStatus::Unknown, "the utility did not answer within " + std::to_string(windowLimitMs_ / 1000) +
                                                   " s (is one of its dialogs open?); the request was not carried out");
    }
    // The window thread runs it now: its reply is on the way. (A stop comes from that thread,
    // so then it has either finished or will not; it is not waited for long.)
    if (::WaitForSingleObject(job->done.Get(), waited == WAIT_OBJECT_0 ? kClientLimitMs : INFINITE) == WAIT_OBJECT_0)
        return job->reply;
    return ErrorReply(ExitStatus::NotRunning, "HX-88U Utility ended before it answered");
}

std::shared_ptr<ControlJob> TakeControlJob(LPARAM carried) {
    const std::unique_ptr<std::shared_ptr<ControlJob>> holder(reinterpret_cast<std::shared_ptr<ControlJob>*>(carried));
    return std::move(*holder);
}

void RunControlJob(const std::shared_ptr<ControlJob>& job, const std::function<std::string(const std::string&)>& answer) {
    if (!job || !job->Settle(ControlJob::Running)) return;  // its client was answered already
    job->reply = answer(job->request);
    ::SetEvent(job->done.Get());
}

}  // namespace hx::win
