// The application profile in the registry: HKEY_CURRENT_USER\Software\<root>\<application>,
// sections as sub-keys, integers as REG_DWORD and texts as REG_SZ.
#pragma once

#include <windows.h>

#include <string>

#include "framework/win32/Handles.h"
#include "config/AppProfile.h"

namespace hx::win {

class RegistryAppProfile final : public AppProfile {
public:
    // e.g. root "Tessaro", application "HX88UUtil".
    RegistryAppProfile(std::string root, std::string application);

    int ReadInt(std::string_view section, std::string_view entry, int defaultValue) override;
    std::string ReadString(std::string_view section, std::string_view entry,
                           std::string_view defaultValue) override;
    bool WriteInt(std::string_view section, std::string_view entry, int value) override;
    bool WriteString(std::string_view section, std::string_view entry,
                     std::string_view value) override;
    bool DeleteValue(std::string_view section, std::string_view entry) override;

    // "Software\<root>\<application>".
    const std::string& ApplicationKeyPath() const { return keyPath_; }

private:
    std::string SectionPath(std::string_view section) const;
    UniqueRegKey Open(std::string_view section, REGSAM access) const;
    UniqueRegKey Create(std::string_view section) const;

    std::string keyPath_;
};

// The application name: the executable's file name without its extension.
std::string ApplicationNameFromModule(HMODULE module);

}  // namespace hx::win
