// The last-setting store: the values last accepted by the adapter, in the section
// "LastSetting\" of the application profile, one independent value each.
#pragma once

#include <string>
#include <string_view>

#include "config/AppProfile.h"
#include "config/WlanSetting.h"

namespace hx {

inline constexpr const char* kLastSettingSection = "LastSetting\\";

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

    AppProfile& Profile() { return profile_; }

private:
    AppProfile& profile_;
};

// The value name of one WEP key: "%s%d_%d" of "WEPKey", the length in bits and the index.
std::string WepKeyValueName(int bits, int index);

}  // namespace hx
