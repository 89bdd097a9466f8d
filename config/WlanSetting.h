// One complete wireless configuration, and the small tables that go with it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace hx {

// Codes are stored in the registry and passed to the driver library unchanged.
namespace NetworkType { constexpr int AdHoc = 0, Infrastructure = 1; }
// The authentication modes follow the NDIS numbering: 6 and 7 are WPA2 (RSN) beside WPA's 3
// and 4; 5 (WPA-None) is no mode of this utility.
namespace AuthMode {
constexpr int Open = 0, Shared = 1, AutoSwitch = 2, Wpa = 3, WpaPsk = 4, Wpa2 = 6, Wpa2Psk = 7;
// The modes the authentication worker runs for: WPA and WPA2, each with 802.1X or a pass phrase.
constexpr bool RunsWorker(int mode) { return mode == Wpa || mode == WpaPsk || mode == Wpa2 || mode == Wpa2Psk; }
constexpr bool PreSharedKey(int mode) { return mode == WpaPsk || mode == Wpa2Psk; }
constexpr bool Enterprise(int mode) { return mode == Wpa || mode == Wpa2; }   // 802.1X
constexpr bool Rsn(int mode) { return mode == Wpa2 || mode == Wpa2Psk; }
}  // namespace AuthMode
namespace WepStatus { constexpr int Wep = 0, Disabled = 1, Tkip = 4, Aes = 6; }
namespace Preamble { constexpr int Long = 0, Short = 1, Auto = 2; }
namespace PowerSave { constexpr int ContinuousAccess = 0, MaxPowerSave = 1, FastPowerSave = 2; }
namespace Dot1xMethod { constexpr int EapTls = 0, Peap = 1; }
namespace KeyFormat { constexpr int Ascii = 0, Hex = 1; }

constexpr int kMaxSsidLength = 32;
// The longest rate or key text the apply operations take (they copy into 100-byte buffers).
constexpr size_t kMaxHexTextLength = 99;

struct WlanSetting {
    std::string SSID;
    int Channel = 0;
    int NetworkType = 0;
    std::string DesiredRate;
    int AuthenticationMode = 0;
    int WEPStatus = 0;
    std::array<std::string, 4> WEPKey;
    int WEPDefaultKeyId = 0;
    int WEPKeyLength = 0;
    int PowerSaveMode = 0;
    int PreambleMode = 0;
    int Domain = 0;
    int Dot1xProtocol = 0;
    std::string Dot1xPassphrase;
    std::string Dot1xUsername;
    std::string Dot1xPassword;
    std::string Dot1xWPAIEs;
    std::string Dot1xCertSubject;
    std::string Dot1xCertIssuer;

    bool operator==(const WlanSetting&) const = default;
};

// The adapter's supported rates in 500 kbit/s units, basic-rate bit cleared; the list ends
// at the first zero byte or after 16 entries.
struct SupportedRates {
    std::array<uint8_t, 16> rate{};
};

// The channels the adapter allows in its region, refreshed whenever the region is applied.
struct SupportedChannels {
    std::array<uint8_t, 14> channel{};
    int count = 0;
};

}  // namespace hx
