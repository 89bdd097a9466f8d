// Whether a network lets the adapter in with the settings it has, and on what terms: the
// network type, the privacy bit, WEP authentication and keys, WPA key management and
// ciphers, as an 802.11 station checks them before and during association, and, for
// WPA2, the access point's check of the RSN element the station offers it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/core/Scenario.h"

namespace hxsim {

// Codes as the utility passes them to the library.
namespace NetworkTypeCode { constexpr int AdHoc = 0, Infrastructure = 1; }
namespace AuthCode { constexpr int Open = 0, Shared = 1, AutoSwitch = 2, Wpa = 3, WpaPsk = 4, Wpa2 = 6, Wpa2Psk = 7; }
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
enum class AuthKind { None, Open, Shared, WpaPsk, Wpa8021X, Wpa2Psk, Wpa2_8021X };
// As the state report and the event log write it: "none", "open", "shared", "wpa-psk",
// "wpa-802.1x", "wpa2-psk", "wpa2-802.1x".
const char* AuthKindName(AuthKind kind);
// The kinds that open an 802.1X port the key handshakes must authorise.
bool HasKeyHandshake(AuthKind kind);
bool IsPskKind(AuthKind kind);

struct Admission {
    bool admitted = false;
    std::string refusal;              // why not, for the state report
    uint8_t pairwiseCipher = 0;       // WPA: suite type of the pairwise cipher in use
    uint8_t groupCipher = 0;
    bool wepKeysMatch = false;        // WEP: the station's transmit key is the network's key
    bool keyRefused = false;          // WEP: the access point answered and refused the shared-key authentication
    AuthKind authentication = AuthKind::None;
    // WPA and WPA2: the security element of the association request (the station's RSN
    // element, or the network's WPA element).
    std::vector<uint8_t> associationElement;
    uint16_t status = 0;              // the access point's refusal of the request, when it refused
};

Admission Admit(const NetworkSpec& network, const StationSecurity& station);

// The access point's answer to a station that offers this RSN element in its association
// request: 0 (success) or the 802.11 status code of the refusal: 40 an element it cannot
// read, 41 a group cipher, 42 a pairwise cipher, 43 key management it does not offer (each
// list must name exactly one), 31 a management frame protection policy that does not fit.
uint16_t RsnAssociationStatus(const NetworkSpec& network, std::span<const uint8_t> stationElement);
const char* StatusText(uint16_t status);

}  // namespace hxsim
