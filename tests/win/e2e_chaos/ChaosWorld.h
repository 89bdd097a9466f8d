// The world of the chaos run: a world of its own (not the simulator's default), so that the
// run does not change when the default world does. Five networks a user joins, each with
// its key, and the region codes the adapter knows.
#pragma once

#include <array>

namespace hx::test::chaos {

enum class Security { Open, Wep, WpaTkip, WpaAes, Wpa2Aes };

struct Network {
    const char* ssid;
    const char* bssid;  // as the simulator's signal command takes it
    int meanDbm;
    Security security;
    const char* key;    // the pass phrase, or the WEP key as hex digits
};

inline constexpr std::array<Network, 5> kNetworks{{
    {"Open-Lobby", "06:A0:88:00:00:01", -52, Security::Open, ""},
    {"WEP-Lab", "06:A0:88:00:00:02", -61, Security::Wep, "1234567890"},
    {"WPA-TKIP-Home", "06:A0:88:00:00:03", -47, Security::WpaTkip, "tkip-passphrase"},
    {"WPA-AES-Office", "06:A0:88:00:00:04", -66, Security::WpaAes, "aes-passphrase"},
    {"WPA2-Cafe", "06:A0:88:00:00:05", -58, Security::Wpa2Aes, "wpa2-cafe-passphrase"},
}};

// Joined with a pass phrase, and linked only once both keys are in.
inline constexpr bool IsWpa(const Network& network) {
    return network.security == Security::WpaTkip || network.security == Security::WpaAes ||
           network.security == Security::Wpa2Aes;
}

inline constexpr std::array<int, 7> kRegionCodes{0x10, 0x20, 0x30, 0x31, 0x32, 0x40, 0x50};

// The scenario file's text.
inline constexpr const char kScenario[] = R"([world]
wzc-status = 0
seed = 13

[adapter]
mac = 00:48:56:88:00:01
driver-version = 0x01024C15
rates = 82 84 8B 96 0C 12 18 24 30 48 60 6C
factory-region = 0x10
plugged = yes

[nic]
name = \DEVICE\{8F3A6B20-88C4-4856-B088-0D4E5A6C9F02}
description = Halvorn HX-88U Wireless USB Adapter
instance = 0007
device-id = usb\vid_4856&pid_0088
adapter = yes

[network]
ssid = Open-Lobby
bssid = 06:A0:88:00:00:01
channel = 1
rssi = -52
security = open

[network]
ssid = WEP-Lab
bssid = 06:A0:88:00:00:02
channel = 6
rssi = -61
security = wep
wep-auth = both
wep-key0 = 12 34 56 78 90
wep-tx-key = 0

[network]
ssid = WPA-TKIP-Home
bssid = 06:A0:88:00:00:03
channel = 11
rssi = -47
security = wpa-psk
cipher = tkip
passphrase = tkip-passphrase

[network]
ssid = WPA-AES-Office
bssid = 06:A0:88:00:00:04
channel = 6
rssi = -66
security = wpa-psk
cipher = ccmp
passphrase = aes-passphrase

[network]
ssid = WPA2-Cafe
bssid = 06:A0:88:00:00:05
channel = 11
rssi = -58
security = rsn-psk
cipher = ccmp
passphrase = wpa2-cafe-passphrase
)";

}  // namespace hx::test::chaos
