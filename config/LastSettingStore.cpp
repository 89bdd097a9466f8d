#include "config/LastSettingStore.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

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

int LastSettingStore::ReadInRange(std::string_view name, int low, int high, int otherwise) {
    const int value = ReadLastSettingInt(name);
    return value >= low && value <= high ? value : otherwise;
}

void LastSettingStore::LoadLastSetting(WlanSetting& setting) {
    setting.NetworkType = ReadInRange("NetworkType", 0, 1, NetworkType::Infrastructure);
    setting.AuthenticationMode = ReadInRange("AuthenticationMode", 0, 4, AuthMode::AutoSwitch);
    setting.Channel = ReadInRange("Channel", 0, 14, 6);

    std::string rate = ReadLastSettingString("DesiredRate");
    setting.DesiredRate = rate.empty() ? kDefaultDesiredRate : CutText(std::move(rate), kMaxHexTextLength);

    setting.SSID = CutText(ReadLastSettingString("SSID"), kMaxSsidLength);
    setting.PreambleMode = ReadInRange("PreambleMode", 0, 2, Preamble::Long);
    setting.PowerSaveMode = ReadInRange("PowerSaveMode", 0, 2, PowerSave::ContinuousAccess);

    const int domain = ReadLastSettingInt("Domain");
    setting.Domain = domain >= 0 ? domain : 0;

    setting.WEPDefaultKeyId = ReadInRange("WEPDefaultKeyId", 0, 3, 0);
    setting.WEPStatus = ReadInRange("WEPStatus", 0, 6, WepStatus::Disabled);

    const int bits = ReadLastSettingInt("WEPKeyLength");
    setting.WEPKeyLength = bits == 64 || bits == 128 || bits == 256 ? bits : 64;
    for (int i = 0; i < 4; ++i) setting.WEPKey[static_cast<size_t>(i)] = LoadLastWepKey(i, setting.WEPKeyLength);

    setting.Dot1xProtocol = ReadInRange("Dot1xProtocol", 0, 1, Dot1xMethod::EapTls);
    setting.Dot1xPassphrase = ReadLastSettingString("Dot1xPassphrase");
    setting.Dot1xUsername = ReadLastSettingString("Dot1xUsername");
    setting.Dot1xPassword = ReadLastSettingString("Dot1xPassword");
    setting.Dot1xCertSubject = ReadLastSettingString("Dot1xCertSubject");
    setting.Dot1xCertIssuer = ReadLastSettingString("Dot1xCertIssuer");
    // Dot1xWPAIEs is the authentication worker's: the setting keeps what it holds.
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
