// The last-setting store: the values last accepted by the adapter, in the section
// "LastSetting\" of the application profile, one independent value each.
#pragma once

#include <string>
#include <string_view>

#include "config/AppProfile.h"
#include "config/WlanSetting.h"

namespace hx {

inline constexpr const char* kLastSettingSection = "LastSetting\\";

// The first byte of the default WEP key text; the bytes after it count up by one.
constexpr int kDefaultWepKeyFirstByte = 0x10;

class LastSettingStore {
public:
    explicit LastSettingStore(AppProfile& profile) : profile_(profile) {}

    // -1 when the value does not exist.
    int ReadLastSettingInt(std::string_view name);
    // 0 when the store accepted the value, -1 otherwise.
    int WriteLastSettingInt(std::string_view name, int value);
    // Empty when the value does not exist.
    std::string ReadLastSettingString(std::string_view name);
    int WriteLastSettingString(std::string_view name, std::string_view value);

    // Fills every field of the setting but Dot1xWPAIEs from the store, with the range
    // checks and defaults of each value (config/SettingFields.h). Writes nothing.
    void LoadLastSetting(WlanSetting& setting);
    // The key text stored for a key index and length in bits; the default key text of that
    // length when none is stored.
    std::string LoadLastWepKey(int index, int bits);

    AppProfile& Profile() { return profile_; }

private:
    AppProfile& profile_;
};

// The setting a new installation starts with: what LoadLastSetting makes of a store that
// holds no value (default keys, no pass phrase, no credentials).
WlanSetting FreshSetting();

// The value name of one WEP key: "%s%d_%d" of "WEPKey", the length in bits and the index.
std::string WepKeyValueName(int bits, int index);

// The key text used when none is stored: bits / 8 - 3 bytes counting up from
// kDefaultWepKeyFirstByte, as hex text.
std::string DefaultWepKeyText(int bits);

// A text cut to at most `limit` characters.
std::string CutText(std::string text, size_t limit);

}  // namespace hx
