#include "tests/win/common/ConsoleProgram.h"

#include <cstdio>

#include "tests/win/common/UtilityProcess.h"

namespace hx::test {

namespace {

struct Handle {
    HANDLE h = nullptr;
    Handle() = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    void Close() {
        if (h != nullptr && h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
        h = nullptr;
    }
};

// A pipe whose child end alone is inherited.
bool MakePipe(Handle& read, Handle& write, bool childReads) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (!::CreatePipe(&read.h, &write.h, &inherit, 1 << 16)) return false;
    return ::SetHandleInformation(childReads ? write.h : read.h, HANDLE_FLAG_INHERIT, 0) != FALSE;
}

// Reads what the pipe holds now, without waiting for more (a process the child started may
// keep the pipe open after the child ended).
void Drain(HANDLE pipe, std::string& into) {
    DWORD waiting = 0;
    while (::PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
        std::string chunk(waiting, '\0');
        DWORD got = 0;
        if (!::ReadFile(pipe, chunk.data(), waiting, &got, nullptr) || got == 0) return;
        into.append(chunk.data(), got);
    }
}

std::string WithoutCarriageReturns(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

}  // namespace

std::string Quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

std::string ProgramCommand(const std::string& program, const std::string& arguments) {
    std::string line = Quoted(ProgramFolder() + "\\" + program);
    if (!arguments.empty()) line.append(" ").append(arguments);
    return line;
}

// A started child and the parent's ends of its output pipes.
struct ConsoleStream::State {
    PROCESS_INFORMATION info{};
    Handle outRead, errRead;
    std::string out, err;
    std::chrono::steady_clock::time_point began;
    std::string failure;  // the step that failed, and its error

    bool Failed(const char* step) {
        failure = FailedStep(step);
        return false;
    }

    bool Start(const std::string& commandLine, const std::string& input) {
        Handle inRead, inWrite, outWrite, errWrite;
        if (!MakePipe(inRead, inWrite, true) || !MakePipe(outRead, outWrite, false) ||
            !MakePipe(errRead, errWrite, false))
            return Failed("CreatePipe");
        // The input fits the pipe's buffer: written before the start, it is there at once.
        DWORD written = 0;
        const auto size = static_cast<DWORD>(input.size());
        if (!input.empty() && !::WriteFile(inWrite.h, input.data(), size, &written, nullptr)) return Failed("WriteFile");
        inWrite.Close();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inRead.h;
        startup.hStdOutput = outWrite.h;
        startup.hStdError = errWrite.h;
        // UTF-8 in, UTF-16 to Windows: a child that reads its wide command line gets every character.
        const int length = ::MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, nullptr, 0);
        std::wstring line(static_cast<size_t>(length > 0 ? length : 1), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, line.data(), length);
        began = std::chrono::steady_clock::now();
        return ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info) !=
                   FALSE ||
               Failed("CreateProcess");
    }

    void Collect() {
        Drain(outRead.h, out);
        Drain(errRead.h, err);
    }

    bool Ended() const { return info.hProcess == nullptr || ::WaitForSingleObject(info.hProcess, 0) != WAIT_TIMEOUT; }

    ~State() {
        if (!Ended()) {
            ::TerminateProcess(info.hProcess, 99);
            ::WaitForSingleObject(info.hProcess, 5000);
        }
        if (info.hProcess != nullptr) ::CloseHandle(info.hProcess);
        if (info.hThread != nullptr) ::CloseHandle(info.hThread);
    }
};

std::string FailedStep(const char* step) {
    return std::string(step) + " failed with error " + std::to_string(::GetLastError());
}

std::string StartRetried(const std::string& commandLine, const std::function<std::string()>& start) {
    std::string failure;
    for (int attempt = 1; !(failure = start()).empty(); ++attempt) {
        std::fprintf(stderr, "could not start %s: %s (attempt %d of 5)\n", commandLine.c_str(), failure.c_str(), attempt);
        if (attempt == 5) break;
        ::Sleep(500);
    }
    return failure;
}

ConsoleRun RunConsole(const std::string& commandLine, const std::string& input, std::chrono::milliseconds limit) {
    ConsoleRun run;
    std::unique_ptr<ConsoleStream::State> child;
    run.startFailure = StartRetried(commandLine, [&] {
        child = std::make_unique<ConsoleStream::State>();
        return child->Start(commandLine, input) ? std::string() : child->failure;
    });
    if (!(run.started = run.startFailure.empty())) return run;
    const auto deadline = child->began + limit;
    while (::WaitForSingleObject(child->info.hProcess, 5) == WAIT_TIMEOUT) {
        child->Collect();
        if (std::chrono::steady_clock::now() >= deadline) break;
    }
    run.took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - child->began);
    run.ended = child->Ended();
    child->Collect();
    if (run.ended) ::GetExitCodeProcess(child->info.hProcess, &run.exitCode);
    run.out = WithoutCarriageReturns(child->out);
    run.err = WithoutCarriageReturns(child->err);
    return run;
}

ConsoleStream::ConsoleStream() : state_(std::make_unique<State>()) {}
ConsoleStream::~ConsoleStream() = default;

bool ConsoleStream::Start(const std::string& commandLine) {
    // The last attempt's state stays, with its failure if it too was refused.
    return StartRetried(commandLine, [&] {
               state_ = std::make_unique<State>();
               return state_->Start(commandLine, "") ? std::string() : state_->failure;
           }).empty();
}

std::string ConsoleStream::Failure() const { return state_->failure; }

std::string ConsoleStream::Output() const {
    state_->Collect();
    return WithoutCarriageReturns(state_->out);
}

bool ConsoleStream::Running() const { return !state_->Ended(); }

}  // namespace hx::test
