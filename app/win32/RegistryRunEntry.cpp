#include "app/win32/RegistryRunEntry.h"

#include <windows.h>

#include <vector>

#include "framework/win32/Handles.h"

namespace hx::win {
namespace {

UniqueRegKey OpenRunKey(REGSAM access) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, RegistryRunEntry::kRunKey, 0, access, &key) != ERROR_SUCCESS) return {};
    return UniqueRegKey(key);
}

}  // namespace

std::optional<std::string> RegistryRunEntry::Read() {
    UniqueRegKey key = OpenRunKey(KEY_QUERY_VALUE);
    DWORD type = 0, size = 0;
    if (!key || ::RegQueryValueExA(key.Get(), kValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::vector<char> text(size + 1, '\0');
    if (::RegQueryValueExA(key.Get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::string(text.data());  // up to the first end mark, stored or not
}

bool RegistryRunEntry::Write(const std::string& commandLine) {
    HKEY created = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr) !=
        ERROR_SUCCESS)
        return false;
    UniqueRegKey key(created);
    return ::RegSetValueExA(key.Get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(commandLine.c_str()),
                            static_cast<DWORD>(commandLine.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryRunEntry::Remove() {
    UniqueRegKey key = OpenRunKey(KEY_SET_VALUE);
    if (!key) return true;
    const LONG result = ::RegDeleteValueA(key.Get(), kValueName);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

std::string RunningProgramPath() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return std::string(path.data(), length);
        path.resize(path.size() * 2);
    }
}

}  // namespace hx::win
