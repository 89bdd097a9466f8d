// The utility's logon entry in the registry: value HX88UUtil (REG_SZ) of
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, as the installer writes it.
#pragma once

#include <optional>
#include <string>

#include "app/StartWithWindows.h"

namespace hx::win {

class RegistryRunEntry final : public RunEntryPort {
public:
    static constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* kValueName = "HX88UUtil";

    std::optional<std::string> Read() override;
    bool Write(const std::string& commandLine) override;
    bool Remove() override;
};

// The path of the running program.
std::string RunningProgramPath();

}  // namespace hx::win
