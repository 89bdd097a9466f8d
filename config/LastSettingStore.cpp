#include "config/LastSettingStore.h"

#include <cstdio>

namespace hx {

int LastSettingStore::ReadLastSettingInt(std::string_view name) {
    return profile_.GetProfileInt(kLastSettingSection, name, -1);
}

int LastSettingStore::WriteLastSettingInt(std::string_view name, int value) {
    return profile_.WriteProfileInt(kLastSettingSection, name, value) ? 0 : -1;
}

std::string LastSettingStore::ReadLastSettingString(std::string_view name) {
    return profile_.GetProfileString(kLastSettingSection, name, "");
}

int LastSettingStore::WriteLastSettingString(std::string_view name, std::string_view value) {
    return profile_.WriteProfileString(kLastSettingSection, name, value) ? 0 : -1;
}

std::string WepKeyValueName(int bits, int index) {
    char name[48];
    std::snprintf(name, sizeof name, "%s%d_%d", "WEPKey", bits, index);
    return name;
}

}  // namespace hx
