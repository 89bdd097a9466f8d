#include "config/MemoryAppProfile.h"

#include <cctype>

namespace hx {

namespace {

// What the registry keeps of a name or text: everything before the first zero byte.
std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

std::string MemoryAppProfile::Key(std::string_view section, std::string_view entry) {
    std::string key = NormaliseSection(UpToZero(section)) + '\x1f' + std::string(UpToZero(entry));
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

int MemoryAppProfile::ReadInt(std::string_view section, std::string_view entry, int defaultValue) {
    const Value* value = Find(section, entry);
    if (value == nullptr || !std::holds_alternative<int>(*value)) return defaultValue;
    return std::get<int>(*value);
}

std::string MemoryAppProfile::ReadString(std::string_view section, std::string_view entry,
                                         std::string_view defaultValue) {
    const Value* value = Find(section, entry);
    if (value == nullptr || !std::holds_alternative<std::string>(*value)) return std::string(defaultValue);
    return std::get<std::string>(*value);
}

bool MemoryAppProfile::WriteInt(std::string_view section, std::string_view entry, int value) {
    if (writesFail_) return false;
    values_[Key(section, entry)] = value;
    return true;
}

bool MemoryAppProfile::WriteString(std::string_view section, std::string_view entry,
                                   std::string_view value) {
    if (writesFail_) return false;
    values_[Key(section, entry)] = std::string(UpToZero(value));
    return true;
}

bool MemoryAppProfile::DeleteValue(std::string_view section, std::string_view entry) {
    if (writesFail_) return false;
    return values_.erase(Key(section, entry)) > 0;
}

const MemoryAppProfile::Value* MemoryAppProfile::Find(std::string_view section, std::string_view entry) const {
    auto it = values_.find(Key(section, entry));
    return it == values_.end() ? nullptr : &it->second;
}

void MemoryAppProfile::SetValue(std::string_view section, std::string_view entry, Value value) {
    values_[Key(section, entry)] = std::move(value);
}

size_t MemoryAppProfile::ValueCount() const { return values_.size(); }

}  // namespace hx
