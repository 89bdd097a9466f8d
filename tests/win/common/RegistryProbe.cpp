#include "tests/win/common/RegistryProbe.h"

#include <windows.h>

#include <vector>

namespace hx::test {
namespace {

std::string KeyPath(const std::string& section) {
    std::string path = "Software\\Tessaro\\HX88UUtil";
    if (!section.empty()) path += "\\" + section;
    return path;
}

bool Store(const std::string& section, const std::string& name, DWORD type, const BYTE* data, DWORD size) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok = ::RegSetValueExA(key, name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

}  // namespace

namespace {

StoredValue Decoded(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    StoredValue value;
    value.type = type;
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        value.number = *reinterpret_cast<const DWORD*>(data.data());
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
        value.text.assign(reinterpret_cast<const char*>(data.data()));
    }
    return value;
}

void ReadTree(HKEY key, const std::string& path, std::map<std::string, StoredValues>& into) {
    StoredValues& values = into[path];
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name, type = 0, size = 0;
        if (::RegEnumValueA(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::vector<BYTE> data(size + 1, 0);
        nameLength = sizeof name;
        if (::RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data.data(), &size) == ERROR_SUCCESS)
            values[name] = Decoded(type, data, size);
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY sub = nullptr;
        if (::RegOpenKeyExA(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
        ReadTree(sub, path.empty() ? name : path + "\\" + name, into);
        ::RegCloseKey(sub);
    }
}

}  // namespace

std::map<std::string, StoredValues> ReadUtilityKeys() {
    std::map<std::string, StoredValues> keys;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath("").c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return keys;
    ReadTree(key, "", keys);
    ::RegCloseKey(key);
    return keys;
}

std::optional<StoredValue> ReadStored(const std::string& section, const std::string& name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(section).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<StoredValue> result;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size + 1, 0);
        if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS)
            result = Decoded(type, data, size);
    }
    ::RegCloseKey(key);
    return result;
}

std::string StoredText(const std::string& section, const std::string& name) {
    const auto value = ReadStored(section, name);
    return value && value->type == REG_SZ ? value->text : "<missing>";
}

unsigned long StoredNumber(const std::string& section, const std::string& name) {
    const auto value = ReadStored(section, name);
    return value && value->type == REG_DWORD ? value->number : 0xFFFFFFFFul;
}

bool SeedNumber(const std::string& section, const std::string& name, unsigned long value) {
    const DWORD number = value;
    return Store(section, name, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

bool SeedText(const std::string& section, const std::string& name, const std::string& value) {
    return Store(section, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

}  // namespace hx::test
