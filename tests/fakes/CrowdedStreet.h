// A crowded street for the simulated world: many access points in range, as in an office
// block, so that a scan's list is many times larger than the 12004-byte buffer it is first
// read into. Append the text to a scenario (natively simtest::DefaultWorldPlus, under Wine
// ScenarioFile::Append of tests/win/common/SimulatorProbe.h).
#pragma once

#include <string>

namespace hx::test {

inline constexpr int kCrowdedStreetNetworks = 150;

// The SSID of the index-th network of the street (0-based): "Street-001" and on.
std::string CrowdedStreetSsid(int index);
// Its BSSID as the Site Survey shows it ("06-B0-88-00-00-2A") and its channel.
std::string CrowdedStreetBssid(int index);
int CrowdedStreetChannel(int index);

// `count` [network] sections: open, WEP and WPA-PSK networks on channels 1-11 at -50 to
// -84 dBm, BSSIDs 06:B0:88:00:HH:LL. Every fourth is strong enough to be heard on the next
// channel too, so the unfiltered list holds it twice.
std::string CrowdedStreetNetworks(int count = kCrowdedStreetNetworks);

}  // namespace hx::test
