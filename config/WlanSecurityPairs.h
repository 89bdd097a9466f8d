// The authentication and encryption pairs a WLAN profile and a setting share, one table
// for reading and writing profiles.
#pragma once

#include <string_view>

#include "config/WlanSetting.h"

namespace hx {

struct WlanSecurityPair {
    const char* authentication;  // as the profile XML spells it
    const char* encryption;
    int authenticationMode;
    int wepStatus;
    bool adHoc;                  // allowed in an ad hoc network
};

inline constexpr WlanSecurityPair kWlanSecurityPairs[] = {
    {"open", "none", AuthMode::Open, WepStatus::Disabled, true},
    {"open", "WEP", AuthMode::Open, WepStatus::Wep, true},
    {"shared", "WEP", AuthMode::Shared, WepStatus::Wep, true},
    {"WPA", "TKIP", AuthMode::Wpa, WepStatus::Tkip, false},
    {"WPA", "AES", AuthMode::Wpa, WepStatus::Aes, false},
    {"WPAPSK", "TKIP", AuthMode::WpaPsk, WepStatus::Tkip, false},
    {"WPAPSK", "AES", AuthMode::WpaPsk, WepStatus::Aes, false},
    {"WPA2", "TKIP", AuthMode::Wpa2, WepStatus::Tkip, false},
    {"WPA2", "AES", AuthMode::Wpa2, WepStatus::Aes, false},
    {"WPA2PSK", "TKIP", AuthMode::Wpa2Psk, WepStatus::Tkip, false},
    {"WPA2PSK", "AES", AuthMode::Wpa2Psk, WepStatus::Aes, false},
};

inline constexpr const char* kWlanAuthentications[] = {"open", "shared", "WPA", "WPAPSK", "WPA2", "WPA2PSK"};
inline constexpr const char* kWlanEncryptions[] = {"none", "WEP", "TKIP", "AES"};

// Authentications of the schema the adapter cannot do (WPA3, OWE).
inline constexpr const char* kWlanUnsupportedAuthentications[] = {"WPA3", "WPA3SAE", "WPA3ENT", "WPA3ENT192", "OWE"};

}  // namespace hx
