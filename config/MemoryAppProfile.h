// An application profile held in memory, with the registry's rules: case-insensitive key
// and value names, typed values, nested sections, names and texts that end at a zero byte.
// Used by the native tests.
#pragma once

#include <map>
#include <string>
#include <variant>

#include "config/AppProfile.h"

namespace hx {

class MemoryAppProfile final : public AppProfile {
public:
    using Value = std::variant<int, std::string>;

    int ReadInt(std::string_view section, std::string_view entry, int defaultValue) override;
    std::string ReadString(std::string_view section, std::string_view entry,
                           std::string_view defaultValue) override;
    bool WriteInt(std::string_view section, std::string_view entry, int value) override;
    bool WriteString(std::string_view section, std::string_view entry,
                     std::string_view value) override;
    bool DeleteValue(std::string_view section, std::string_view entry) override;

    // Test helpers: look at a value as stored, make writes fail.
    const Value* Find(std::string_view section, std::string_view entry) const;
    void SetValue(std::string_view section, std::string_view entry, Value value);
    size_t ValueCount() const;
    void SetWritesFail(bool fail) { writesFail_ = fail; }

private:
    static std::string Key(std::string_view section, std::string_view entry);
    std::map<std::string, Value> values_;  // "section\x1fentry", folded to lower case
    bool writesFail_ = false;
};

}  // namespace hx
