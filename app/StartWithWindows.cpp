#include "app/StartWithWindows.h"

namespace hx {

std::string RunCommandFor(const std::string& programPath) { return "\"" + programPath + "\""; }

bool StartsWithWindows(RunEntryPort& entry) {
    const std::optional<std::string> command = entry.Read();
    return command && !command->empty();
}

bool ToggleStartWithWindows(RunEntryPort& entry, const std::string& programPath) {
    if (StartsWithWindows(entry)) return !entry.Remove();
    // An empty entry starts nothing: it is replaced like a missing one.
    return entry.Write(RunCommandFor(programPath));
}

}  // namespace hx
