// The stored fields of a setting, one row each in the order a profile stores them: the
// value name, the member it fills, the longest text loaded, and how the last-setting load
// settles a stored value. Both stores walk this table.
#pragma once

#include <climits>
#include <string>

#include "config/ValueTables.h"
#include "config/WlanSetting.h"

namespace hx {

// A stored integer inside Low..High, else Otherwise (a missing value reads as -1).
template <int Low, int High, int Otherwise>
constexpr int InRange(int stored) {
    return stored >= Low && stored <= High ? stored : Otherwise;
}
// A stored authentication mode: WPA's 0 to 4 and WPA2's 6 and 7, else auto switch.
constexpr int KnownAuthenticationMode(int stored) {
    const bool wpa = stored >= AuthMode::Open && stored <= AuthMode::WpaPsk;
    return wpa || AuthMode::Rsn(stored) ? stored : AuthMode::AutoSwitch;
}
// A stored key length as the key tables read it: 64, 128 or 256 bits.
inline int KnownKeyLength(int stored) { return KeyLengthForBits(stored).bits; }

struct SettingField {
    const char* name;
    // The member: an integer or a text. The four WEP keys are the one row with neither;
    // their value names come from the key length.
    int WlanSetting::*integer;
    std::string WlanSetting::*text;
    size_t limit;                          // texts: the longest text loaded
    // The last-setting load: integers pass through settle; an empty text becomes
    // emptyText. Dot1xWPAIEs is the authentication worker's and is not loaded there.
    int (*settle)(int stored);
    const char* emptyText;
    bool lastSettingLoads;
};

inline constexpr size_t kNoLimit = std::string::npos;

namespace field {
constexpr SettingField Int(const char* name, int WlanSetting::*member, int (*settle)(int)) {
    return {name, member, nullptr, 0, settle, "", true};
}
constexpr SettingField Text(const char* name, std::string WlanSetting::*member, size_t limit,
                            const char* emptyText = "", bool lastSettingLoads = true) {
    return {name, nullptr, member, limit, nullptr, emptyText, lastSettingLoads};
}
constexpr SettingField WepKeys(size_t limit) { return {"WEPKey", nullptr, nullptr, limit, nullptr, "", true}; }
}  // namespace field

inline constexpr SettingField kSettingFields[] = {
    field::Text("SSID", &WlanSetting::SSID, kMaxSsidLength),
    field::Int("Channel", &WlanSetting::Channel, InRange<0, 14, 6>),
    field::Int("NetworkType", &WlanSetting::NetworkType, InRange<0, 1, NetworkType::Infrastructure>),
    field::Text("DesiredRate", &WlanSetting::DesiredRate, kMaxHexTextLength, kDefaultDesiredRate),
    field::Int("AuthenticationMode", &WlanSetting::AuthenticationMode, KnownAuthenticationMode),
    field::Int("WEPStatus", &WlanSetting::WEPStatus, InRange<0, 6, WepStatus::Disabled>),
    field::Int("WEPDefaultKeyId", &WlanSetting::WEPDefaultKeyId, InRange<0, 3, 0>),
    field::Int("WEPKeyLength", &WlanSetting::WEPKeyLength, KnownKeyLength),
    field::WepKeys(kMaxHexTextLength),
    field::Int("PowerSaveMode", &WlanSetting::PowerSaveMode, InRange<0, 2, PowerSave::ContinuousAccess>),
    field::Int("PreambleMode", &WlanSetting::PreambleMode, InRange<0, 2, Preamble::Long>),
    field::Int("Domain", &WlanSetting::Domain, InRange<0, INT_MAX, 0>),
    field::Int("Dot1xProtocol", &WlanSetting::Dot1xProtocol, InRange<0, 1, Dot1xMethod::EapTls>),
    field::Text("Dot1xPassphrase", &WlanSetting::Dot1xPassphrase, kNoLimit),
    field::Text("Dot1xUsername", &WlanSetting::Dot1xUsername, kNoLimit),
    field::Text("Dot1xPassword", &WlanSetting::Dot1xPassword, kNoLimit),
    field::Text("Dot1xWPAIEs", &WlanSetting::Dot1xWPAIEs, kNoLimit, "", false),
    field::Text("Dot1xCertSubject", &WlanSetting::Dot1xCertSubject, kNoLimit),
    field::Text("Dot1xCertIssuer", &WlanSetting::Dot1xCertIssuer, kNoLimit),
};

}  // namespace hx
