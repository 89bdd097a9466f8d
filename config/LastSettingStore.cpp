#include "config/LastSettingStore.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "config/SettingFields.h"
#include "config/ValueTables.h"

namespace hx {

int LastSettingStore::ReadLastSettingInt(std::string_view name) {
    return profile_.ReadInt(kLastSettingSection, name, -1);
}

int LastSettingStore::WriteLastSettingInt(std::string_view name, int value) {
    return profile_.WriteInt(kLastSettingSection, name, value) ? 0 : -1;
}

std::string LastSettingStore::ReadLastSettingString(std::string_view name) {
    return profile_.ReadString(kLastSettingSection, name, "");
}

int LastSettingStore::WriteLastSettingString(std::string_view name, std::string_view value) {
    return profile_.WriteString(kLastSettingSection, name, value) ? 0 : -1;
}

void LastSettingStore::LoadLastSetting(WlanSetting& setting) {
    for (const SettingField& field : kSettingFields) {
        if (!field.lastSettingLoads) continue;
        if (field.integer != nullptr) {
            setting.*field.integer = field.settle(ReadLastSettingInt(field.name));
        } else if (field.text != nullptr) {
            std::string text = ReadLastSettingString(field.name);
            setting.*field.text = text.empty() ? std::string(field.emptyText) : CutText(std::move(text), field.limit);
        } else {
            // Under the names of the key length just loaded.
            for (int i = 0; i < 4; ++i)
                setting.WEPKey[static_cast<size_t>(i)] = LoadLastWepKey(i, setting.WEPKeyLength);
        }
    }
}

namespace {

// A profile that holds nothing: every read gives its default, every write is refused.
class NoValues final : public AppProfile {
public:
    int ReadInt(std::string_view, std::string_view, int defaultValue) override { return defaultValue; }
    std::string ReadString(std::string_view, std::string_view, std::string_view defaultValue) override {
        return std::string(defaultValue);
    }
    bool WriteInt(std::string_view, std::string_view, int) override { return false; }
    bool WriteString(std::string_view, std::string_view, std::string_view) override { return false; }
    bool DeleteValue(std::string_view, std::string_view) override { return false; }
};

}  // namespace

WlanSetting FreshSetting() {
    NoValues nothing;
    WlanSetting setting;
    LastSettingStore(nothing).LoadLastSetting(setting);
    return setting;
}

std::string LastSettingStore::LoadLastWepKey(int index, int bits) {
    std::string key = ReadLastSettingString(WepKeyValueName(bits, index));
    if (key.empty()) return DefaultWepKeyText(bits);
    return CutText(std::move(key), kMaxHexTextLength);
}

std::string WepKeyValueName(int bits, int index) {
    char name[48];
    std::snprintf(name, sizeof name, "%s%d_%d", "WEPKey", bits, index);
    return name;
}

std::string DefaultWepKeyText(int bits) {
    // Lengths the key tables do not know still give a bounded text: at most the 29 bytes
    // of the longest key, and none for a length of 24 bits or less.
    const int count = std::clamp(bits / 8 - 3, 0, 29);
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(kDefaultWepKeyFirstByte + i);
    return HexText(bytes.data(), count);
}

std::string CutText(std::string text, size_t limit) {
    if (text.size() > limit) text.resize(limit);
    return text;
}

}  // namespace hx
