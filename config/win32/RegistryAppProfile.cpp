#include "config/win32/RegistryAppProfile.h"

#include <vector>

namespace hx::win {

RegistryAppProfile::RegistryAppProfile(std::string root, std::string application)
    : keyPath_("Software\\" + root + "\\" + application) {}

std::string RegistryAppProfile::SectionPath(std::string_view section) const {
    const std::string normalised = NormaliseSection(section);
    return normalised.empty() ? keyPath_ : keyPath_ + "\\" + normalised;
}

UniqueRegKey RegistryAppProfile::Open(std::string_view section, REGSAM access) const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, access, &key) != ERROR_SUCCESS)
        return UniqueRegKey();
    return UniqueRegKey(key);
}

UniqueRegKey RegistryAppProfile::Create(std::string_view section) const {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0,
                          KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return UniqueRegKey();
    return UniqueRegKey(key);
}

int RegistryAppProfile::ReadInt(std::string_view section, std::string_view entry, int defaultValue) {
    UniqueRegKey key = Open(section, KEY_READ);
    if (!key) return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExA(key.Get(), std::string(entry).c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return static_cast<int>(value);
}

std::string RegistryAppProfile::ReadString(std::string_view section, std::string_view entry,
                                           std::string_view defaultValue) {
    UniqueRegKey key = Open(section, KEY_READ);
    if (!key) return std::string(defaultValue);
    const std::string name(entry);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string(defaultValue);
    std::vector<char> buffer(size + 1, '\0');
    if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return std::string(defaultValue);
    buffer[size] = '\0';  // a value stored without its terminating zero still ends here
    return std::string(buffer.data());
}

bool RegistryAppProfile::WriteInt(std::string_view section, std::string_view entry, int value) {
    UniqueRegKey key = Create(section);
    if (!key) return false;
    const DWORD data = static_cast<DWORD>(value);
    return ::RegSetValueExA(key.Get(), std::string(entry).c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

bool RegistryAppProfile::WriteString(std::string_view section, std::string_view entry,
                                     std::string_view value) {
    UniqueRegKey key = Create(section);
    if (!key) return false;
    const std::string text(value);
    return ::RegSetValueExA(key.Get(), std::string(entry).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryAppProfile::DeleteValue(std::string_view section, std::string_view entry) {
    UniqueRegKey key = Open(section, KEY_SET_VALUE);
    if (!key) return false;
    return ::RegDeleteValueA(key.Get(), std::string(entry).c_str()) == ERROR_SUCCESS;
}

std::string ApplicationNameFromModule(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
    std::string name(path, length);
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace hx::win
