// "Start with Windows": whether the user's logon starts the utility, kept as the utility's
// entry among the current user's programs run at logon (the same entry the installer writes
// when the user keeps that choice). The tray menu shows the choice and changes it.
#pragma once

#include <optional>
#include <string>

namespace hx {

// The seam to the logon entry: HKCU\Software\Microsoft\Windows\CurrentVersion\Run, value
// HX88UUtil, a command line.
class RunEntryPort {
public:
    virtual ~RunEntryPort() = default;
    // The command line, or nothing when there is no entry (or it is not a text).
    virtual std::optional<std::string> Read() = 0;
    // True when the entry was written.
    virtual bool Write(const std::string& commandLine) = 0;
    // True when no entry is left.
    virtual bool Remove() = 0;
};

// The command the entry runs: the program's path in quotes (it may hold spaces).
std::string RunCommandFor(const std::string& programPath);

// Whether the utility starts with Windows: an entry with a command in it.
bool StartsWithWindows(RunEntryPort& entry);

// Turns the choice over: an existing entry is removed; otherwise the running program's
// quoted path is written. Returns whether the utility starts with Windows afterwards.
bool ToggleStartWithWindows(RunEntryPort& entry, const std::string& programPath);

}  // namespace hx
