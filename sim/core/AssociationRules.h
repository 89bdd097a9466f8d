// Whether a network lets the adapter in with the settings it has, and on what terms: the
// network type, the privacy bit, WEP authentication and keys, and WPA key management and
// ciphers, as an 802.11 station checks them before and during association.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/Scenario.h"

namespace hxsim {

// Codes as the utility passes them to the library.
namespace NetworkTypeCode { constexpr int AdHoc = 0, Infrastructure = 1; }
namespace AuthCode { constexpr int Open = 0, Shared = 1, AutoSwitch = 2, Wpa = 3, WpaPsk = 4; }
namespace WepStatusCode { constexpr int Enabled = 0, Disabled = 1, Tkip = 4, Aes = 6; }

struct WepKeySlot {
    std::vector<uint8_t> key;  // empty: never written
};

// What association looks at in the adapter's settings.
struct StationSecurity {
    int networkType = NetworkTypeCode::Infrastructure;
    int authMode = AuthCode::Open;
    int wepStatus = WepStatusCode::Disabled;
    std::array<WepKeySlot, 4> wepKeys;
    int defaultKey = 0;
};

// How an admitted station authenticated.
enum class AuthKind { None, Open, Shared, WpaPsk, Wpa8021X };
// As the state report and the event log write it: "none", "open", "shared", "wpa-psk",
// "wpa-802.1x".
const char* AuthKindName(AuthKind kind);
// The kinds that open an 802.1X port the key handshakes must authorise.
bool HasKeyHandshake(AuthKind kind);

struct Admission {
    bool admitted = false;
    std::string refusal;              // why not, for the state report
    uint8_t pairwiseCipher = 0;       // WPA: suite type of the pairwise cipher in use
    uint8_t groupCipher = 0;
    bool wepKeysMatch = false;        // WEP: the station's transmit key is the network's key
    bool keyRefused = false;          // WEP: the access point answered and refused the shared-key authentication
    AuthKind authentication = AuthKind::None;
};

Admission Admit(const NetworkSpec& network, const StationSecurity& station);

}  // namespace hxsim
