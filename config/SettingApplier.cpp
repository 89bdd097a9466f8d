#include "config/SettingApplier.h"

#include <algorithm>
#include <cstring>

#include "config/ValueTables.h"

namespace hx {
namespace {

// The text in a zero-filled buffer of `size` bytes, cut so that a terminating zero fits.
template <size_t size>
void CopyCut(std::string_view text, char (&buffer)[size]) {
    std::memset(buffer, 0, size);
    std::memcpy(buffer, text.data(), std::min(text.size(), size - 1));
}

}  // namespace

int SettingApplier::Stored(int result, const char* name, int value) {
    if (result != 0) return -1;
    store_.WriteLastSettingInt(name, value);
    return 0;
}

int SettingApplier::ApplyNetworkType(int networkType) {
    return Stored(library_.SetWL_NetworkType(&state_.adapter, networkType), "NetworkType", networkType);
}

int SettingApplier::ApplyAuthenticationMode(int mode) {
    return Stored(library_.SetWL_AuthenticationMode(&state_.adapter, mode), "AuthenticationMode", mode);
}

int SettingApplier::ApplyChannel(int channel) {
    return Stored(library_.SetWL_Channel(&state_.adapter, channel), "Channel", channel);
}

int SettingApplier::ApplyWepStatus(int status) {
    return Stored(library_.SetWL_WEPStatus(&state_.adapter, status), "WEPStatus", status);
}

int SettingApplier::ApplyPreambleMode(int mode) {
    return Stored(library_.SetWL_PreambleMode(&state_.adapter, mode), "PreambleMode", mode);
}

int SettingApplier::ApplyPowerSaveMode(int mode) {
    return Stored(library_.SetWL_PSMode(&state_.adapter, mode), "PowerSaveMode", mode);
}

int SettingApplier::ApplyDomain(int region) {
    if (library_.SetWL_OperationRegionCode(&state_.adapter, region) != 0) return -1;
    const int inForce = library_.QueryWL_OperationRegionCode(&state_.adapter);
    if (inForce == -1) return -1;
    if (library_.SetWL_RegionAndSupportChannel(&state_.adapter, inForce) != 0) return -1;

    unsigned char channels[14] = {};
    int count = 14;
    SupportedChannels& supported = state_.supportedChannels;
    if (library_.QueryWL_SupportChannel(&state_.adapter, channels, &count) != 0) {
        // The region has changed and its channels are unknown: list none rather than
        // fourteen empty slots.
        supported = SupportedChannels{};
        return -1;
    }
    supported.count = std::clamp(count, 0, 14);
    std::memcpy(supported.channel.data(), channels, sizeof channels);
    store_.WriteLastSettingInt("Domain", region);
    return 0;
}

int SettingApplier::ApplySsid(std::string_view ssid) {
    char buffer[kMaxSsidLength + 1];
    CopyCut(ssid, buffer);
    const int length = static_cast<int>(std::min(ssid.size(), static_cast<size_t>(kMaxSsidLength)));
    if (library_.SetWL_SSID(&state_.adapter, buffer, length) != 0) return -1;
    store_.WriteLastSettingString("SSID", std::string_view(buffer, static_cast<size_t>(length)));
    return 0;
}

int SettingApplier::ApplyDesiredRate(std::string_view rates) {
    char text[kMaxHexTextLength + 1];
    CopyCut(rates, text);
    unsigned char bytes[16] = {};
    library_.HexStrToBin(text, bytes, 16);
    if (library_.SetWL_DesiredRate(&state_.adapter, bytes) != 0) return -1;
    store_.WriteLastSettingString("DesiredRate", text);
    return 0;
}

int SettingApplier::ApplyWepKeys(int defaultKey, int bits, const std::array<std::string, 4>& keys) {
    const KeyLengthInfo length = KeyLengthForBits(bits);
    for (int i = 0; i < 4; ++i) {
        char text[kMaxHexTextLength + 1];
        CopyCut(keys[static_cast<size_t>(i)], text);
        unsigned char key[100] = {};
        library_.HexStrToBin(text, key, length.bytes);
        if (library_.SetWL_WriteKey(&state_.adapter, i, length.lengthCode, i == defaultKey ? 1 : 0, key) == -1)
            return -1;
        store_.WriteLastSettingString(WepKeyValueName(bits, i), text);
    }
    store_.WriteLastSettingInt("WEPKeyLength", bits);
    store_.WriteLastSettingInt("WEPDefaultKeyId", defaultKey);
    return 0;
}

int SettingApplier::ApplyWepSetting() {
    const WlanSetting& s = state_.current;
    if (ApplyWepKeys(s.WEPDefaultKeyId, s.WEPKeyLength, s.WEPKey) == -1) return 0;
    return ApplyWepStatus(s.WEPStatus) == -1 ? 0 : 1;
}

int SettingApplier::ApplySetting() {
    worker_.StopWorker();
    ++state_.settingsApplied;
    state_.settingOwed = true;  // until the last field is taken
    // With the worker stopped nothing else writes the current setting.
    const WlanSetting& s = state_.current;

    if (ApplyNetworkType(s.NetworkType) != 0) return 0;
    if (s.NetworkType == NetworkType::AdHoc && ApplyChannel(s.Channel) != 0) return 0;
    if (ApplyAuthenticationMode(s.AuthenticationMode) != 0) return 0;
    if (s.WEPStatus > WepStatus::Disabled) {
        if (ApplyWepStatus(s.WEPStatus) != 0) return 0;
    } else if (ApplyWepSetting() != 1) {
        return 0;
    }
    if (ApplyDesiredRate(s.DesiredRate) != 0) return 0;
    if (ApplySsid(s.SSID) != 0) return 0;
    if (ApplyPreambleMode(s.PreambleMode) != 0) return 0;
    // Power save goes to the adapter twice.
    if (ApplyPowerSaveMode(s.PowerSaveMode) != 0) return 0;
    if (ApplyPowerSaveMode(s.PowerSaveMode) != 0) return 0;
    if (ApplyDomain(s.Domain) != 0) return 0;
    state_.settingOwed = false;

    if (AuthMode::RunsWorker(s.AuthenticationMode)) worker_.StartWorker();
    return 1;
}

}  // namespace hx
