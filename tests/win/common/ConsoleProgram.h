// Console programs run as children with their standard streams captured: one run to its
// end (hxctl, reg.exe), or one that keeps printing until it is ended (hxctl monitor).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace hx::test {

struct ConsoleRun {
    bool started = false;
    std::string startFailure;    // when not started: the step that failed, and its error
    bool ended = false;          // within the limit; otherwise the program was ended by force
    DWORD exitCode = STILL_ACTIVE;
    std::string out;             // standard output, "\r\n" turned into "\n"
    std::string err;             // standard error, likewise
    std::chrono::microseconds took{};  // from the start of the process to its end
};

// The text in double quotes, as one word of a command line (it holds no quote itself).
std::string Quoted(const std::string& text);
// A program of the test program's folder with its arguments, as a command line.
std::string ProgramCommand(const std::string& program, const std::string& arguments);

// Wine, busy, now and then refuses a process start that succeeds a moment later (CreateProcess
// error 193). Calls `start` up to five times, half a second apart, until it answers an empty
// text; each refusal, the failed step and its error as `start` tells it, is said on standard
// error. Answers the last refusal, or an empty text once started.
std::string StartRetried(const std::string& commandLine, const std::function<std::string()>& start);
// A refusal as StartRetried wants it: "<step> failed with error <GetLastError()>".
std::string FailedStep(const char* step);

// Runs the command line (UTF-8; a program found as CreateProcess finds it, the first word quoted
// when it holds spaces) with this text on its standard input, closed after it; waits up to
// the limit, then ends it.
ConsoleRun RunConsole(const std::string& commandLine, const std::string& input = "",
                      std::chrono::milliseconds limit = std::chrono::seconds(60));

// A program started with its output collected as it comes; ended by force when destroyed.
class ConsoleStream {
public:
    ConsoleStream();
    ~ConsoleStream();
    ConsoleStream(const ConsoleStream&) = delete;
    ConsoleStream& operator=(const ConsoleStream&) = delete;

    // Started (after refusals, as StartRetried tries); when not, the reason is in Failure().
    bool Start(const std::string& commandLine);
    std::string Failure() const;
    // Everything printed on standard output so far, "\r\n" turned into "\n".
    std::string Output() const;
    bool Running() const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace hx::test
