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

// Polls cond every 10 ms, dispatching this thread's messages meanwhile, until it holds or the time is up; returns its last value.
bool WaitFor(const std::function<bool()>& cond, std::chrono::milliseconds limit);

// Top-level windows with the utility's title, or the one it has on the simulated adapter.
int CountUtilityWindows();

class UtilityProcess {
public:
    UtilityProcess() = default;
    ~UtilityProcess();
    UtilityProcess(const UtilityProcess&) = delete;
    UtilityProcess& operator=(const UtilityProcess&) = delete;

    // Starts HX88UUtil.exe from the program folder; false if it cannot be started.
    bool Start(const std::string& arguments = "");
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
