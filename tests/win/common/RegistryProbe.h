// The utility's registry key (HKCU\Software\Tessaro\HX88UUtil) read and seeded from outside.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace hx::test {

// One stored value with its registry type.
struct StoredValue {
    unsigned long type = 0;  // REG_DWORD, REG_SZ, ...
    unsigned long number = 0;
    std::string text;
};

// The value under the utility's key; section "" is the key itself, else a sub-key such as
// "LastSetting" or "Profile\\Home". Empty when missing.
std::optional<StoredValue> ReadStored(const std::string& section, const std::string& name);
// The stored text, or "<missing>"; the stored number, or 0xFFFFFFFF when missing.
std::string StoredText(const std::string& section, const std::string& name);
unsigned long StoredNumber(const std::string& section, const std::string& name);
// Every key under the utility's, by its path below it ("" for the key itself, then
// "LastSetting", "Profile", "Profile\\Home", ...), with its values by name.
using StoredValues = std::map<std::string, StoredValue>;
std::map<std::string, StoredValues> ReadUtilityKeys();
// Stores a value there, creating the sub-key as needed.
bool SeedNumber(const std::string& section, const std::string& name, unsigned long value);
bool SeedText(const std::string& section, const std::string& name, const std::string& value);

}  // namespace hx::test
