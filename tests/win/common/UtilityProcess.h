// Runs the built HX88UUtil.exe as a separate process and finds its window, for tests that
// drive the utility from outside as Windows and a user would.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace hx::test {

// The folder of the running test program (the build's bin folder, beside the utility).
std::string ProgramFolder();

// Dispatches the messages waiting for this thread's windows.
void PumpMessages();

// How many times its limit a wait for an event may take before it gives up. A limit in a
// test is what the event takes, with room, on a machine with time to spare; a loaded one (a
// build beside the suite, the other Windows suite on the other processor, a busy wineserver)
// takes several times as long, and a wait that gives up then fails a test that holds.
// Waiting longer costs nothing when the event comes.
inline constexpr int kPatience = 4;

// Polls cond every 10 ms, dispatching this thread's messages meanwhile, until it holds or
// kPatience times the limit has passed; returns its last value. What must not happen is
// watched with StaysFalse.
bool WaitFor(const std::function<bool()>& cond, std::chrono::milliseconds limit);
// Whether cond stays false for the whole period, watched as WaitFor watches (for exactly the
// period: a loaded machine only makes the watch less likely to see it).
bool StaysFalse(const std::function<bool()>& cond, std::chrono::milliseconds period);
// Dispatches this thread's messages for the period.
void PumpFor(std::chrono::milliseconds period);
// What the machine's load adds now to a reaction of the utility seen from outside, taken in
// the same run: the time its window takes to answer a message and one look at what the test
// watches takes, twice over. A bound on how soon the utility reacts is the reaction's own
// time, room, and this.
std::chrono::milliseconds LoadAllowance(HWND window, const std::function<bool()>& look);

// Whether the test command runs this program under an emulated processor (it sets
// HX_EMULATED_32BIT where 32-bit Wine runs under qemu-i386). A process takes minutes to start
// there, so a case that starts another one skips itself, saying so.
bool RunsEmulated();
inline constexpr const char* kNoSecondProcessWhenEmulated =
    "starts another process: run where 32-bit code runs natively, not under qemu-i386";
// Pipe servers stopped, or reads cancelled, while a client thread of the same process waits:
// under qemu-i386, 32-bit Wine crashed (signal 11) or never gave the cancelled read back.
inline constexpr const char* kNoPipeCancelWhenEmulated =
    "cancels pipe I/O under a waiting client: run where 32-bit code runs natively, not under qemu-i386";

// Top-level windows with the utility's title, or the one it has on the simulated adapter.
int CountUtilityWindows();

class UtilityProcess {
public:
    UtilityProcess() = default;
    ~UtilityProcess();
    UtilityProcess(const UtilityProcess&) = delete;
    UtilityProcess& operator=(const UtilityProcess&) = delete;

    // Starts HX88UUtil.exe from the program folder, or from another folder that holds a
    // copy; false if it cannot be started.
    bool Start(const std::string& arguments = "", const std::string& folder = ProgramFolder());
    bool Running() const;
    // Waits for the process to end; true when it ended within the limit.
    bool WaitForExit(std::chrono::milliseconds limit);
    DWORD ExitCode() const;
    DWORD ProcessId() const { return info_.dwProcessId; }
    // Ends the process if it still runs.
    void Kill();

    // The utility's main window (found by its title and owned by this process), or null.
    HWND MainWindow() const;
    HWND WaitForMainWindow(std::chrono::milliseconds limit) const;

private:
    PROCESS_INFORMATION info_{};
};

// Removes the utility's registry key (HKCU\Software\Tessaro\HX88UUtil) and its sub-keys.
void ClearUtilityRegistry();

}  // namespace hx::test
