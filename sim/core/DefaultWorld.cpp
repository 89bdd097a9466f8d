#include "sim/core/DefaultWorld.h"

#include <cstdlib>

#include "sim/core/ScenarioParser.h"

namespace hxsim {
namespace {

constexpr const char kDefaultWorld[] = R"(# The default simulated world: one plugged HX-88U, one other network adapter, and a
# street of today: most networks WPA2-PSK, one WPA/WPA2 mixed, one WPA2/WPA3 transition,
# one WPA3-only and one WPA2-Enterprise network, beside older networks of every kind, at
# different signal strengths (channels 1-11, so every region but Spain, France and Israel
# sees all of them).

[world]
wzc-status = 0
seed = 88

[adapter]
mac = 00:48:56:88:00:01
driver-version = 0x01024C15
rates = 82 84 8B 96 0C 12 18 24 30 48 60 6C
factory-region = 0x10
plugged = yes

[nic]
name = \DEVICE\{2B7E3C1A-5D44-4E0B-9A61-3F0C2D8E7711}
description = Generic Fast Ethernet Controller
instance = 0001
device-id = pci\ven_10ec&dev_8139
opens = no

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
vendor-element = 00 48 56 01 02 00 00

[network]
ssid = Open-Lobby
bssid = 06:A0:88:00:00:11
channel = 11
rssi = -81
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
vendor-element = 00 50 F2 02 00 01 00

[network]
ssid = WPA-Enterprise
bssid = 06:A0:88:00:00:05
channel = 3
rssi = -70
security = wpa-eap
cipher = tkip

[network]
ssid = RSN-Only
bssid = 06:A0:88:00:00:06
channel = 9
rssi = -76
security = rsn-psk
cipher = ccmp
passphrase = rsn-passphrase

[network]
ssid = Mixed-WPA-WPA2
bssid = 06:A0:88:00:00:08
channel = 7
rssi = -62
security = wpa-rsn-psk
cipher = tkip ccmp
group-cipher = tkip
passphrase = mixed-passphrase

[network]
ssid = WPA3-Transition
bssid = 06:A0:88:00:00:09
channel = 3
rssi = -60
security = rsn-psk
cipher = ccmp
akm = psk sae
mfp = capable
passphrase = transition-passphrase

[network]
ssid = WPA3-Only
bssid = 06:A0:88:00:00:0A
channel = 10
rssi = -68
security = rsn-psk
cipher = ccmp
akm = sae
mfp = required
passphrase = wpa3-passphrase

[network]
ssid = WPA2-Enterprise
bssid = 06:A0:88:00:00:0B
channel = 5
rssi = -71
security = rsn-eap
cipher = ccmp

[network]
ssid = Harbour-Cafe
bssid = 06:A0:88:00:01:01
channel = 1
rssi = -64
security = rsn-psk
cipher = ccmp
passphrase = harbour-cafe-2019

[network]
ssid = Flat-2B
bssid = 06:A0:88:00:01:02
channel = 6
rssi = -63
security = rsn-psk
cipher = ccmp
passphrase = second-floor-left

[network]
ssid = Bakery-Staff
bssid = 06:A0:88:00:01:03
channel = 11
rssi = -72
security = rsn-psk
cipher = ccmp
passphrase = croissants-at-six

[network]
ssid = Studio-Nord
bssid = 06:A0:88:00:01:04
channel = 4
rssi = -79
security = rsn-psk
cipher = ccmp
passphrase = studio-nord-wlan

[network]
ssid = Lindqvist
bssid = 06:A0:88:00:01:05
channel = 1
rssi = -83
security = rsn-psk
cipher = ccmp
passphrase = lindqvist-family

[network]
ssid = Printshop-3F
bssid = 06:A0:88:00:01:06
channel = 8
rssi = -69
security = rsn-psk
cipher = ccmp
passphrase = cyan-magenta-yellow

[network]
ssid = Dental-Practice
bssid = 06:A0:88:00:01:07
channel = 11
rssi = -85
security = rsn-psk
cipher = ccmp
passphrase = brush-twice-daily

[network]
ssid = Okafor-Home
bssid = 06:A0:88:00:01:08
channel = 6
rssi = -74
security = rsn-psk
cipher = ccmp
passphrase = okafor-home-net

[network]
ssid = HOME-4F2A
bssid = 06:A0:88:00:01:09
channel = 2
rssi = -80
security = rsn-psk
cipher = ccmp
passphrase = 7KQ2-MX9D-4F2A

[network]
ssid = Rooftop-Bar
bssid = 06:A0:88:00:01:0A
channel = 9
rssi = -67
security = rsn-psk
cipher = ccmp
passphrase = sunset-on-the-roof

[network]
ssid = Workshop-Annex
bssid = 06:A0:88:00:01:0B
channel = 5
rssi = -82
security = rsn-psk
cipher = ccmp
passphrase = lathe-and-drill

[network]
ssid = Pharmacy-Back
bssid = 06:A0:88:00:01:0C
channel = 3
rssi = -77
security = rsn-psk
cipher = ccmp
passphrase = back-room-only

[network]
ssid = AdHoc-Cell
bssid = 02:48:56:C0:FF:EE
mode = adhoc
channel = 10
rssi = -84
security = open

[certificate]
store = ROOT
subject = CN=HX Test Root CA
issuer = CN=HX Test Root CA

[certificate]
store = MY
subject = CN=HX Test User
issuer = CN=HX Test Root CA
key = 6B 65 79 2D 6F 66 2D 74 68 65 2D 74 65 73 74 2D 75 73 65 72 2D 63 65 72 74 69 66 69 63 61 74 65
exportable = yes

[certificate]
store = MY
subject = CN=HX Locked User
issuer = CN=HX Test Root CA
key = 4C 4F 43 4B 45 44 2D 4B 45 59 2D 4E 4F 54 2D 45 58 50 4F 52 54 41 42 4C 45 2D 2D 2D 2D 2D 2D 2D
exportable = no

[user]
identity = hxuser
methods = tls peap
password = hx-password
certificate = CN=HX Test User

[server]
subject = CN=radius.hx.test
issuer = CN=HX Test Root CA
)";

}  // namespace

std::string_view DefaultScenarioText() { return kDefaultWorld; }

Scenario DefaultScenario() {
    ParseResult result = ParseScenario(kDefaultWorld);
    if (!result.scenario) std::abort();  // the embedded text is checked by the tests
    return *result.scenario;
}

}  // namespace hxsim
