// The worlds of the field journeys, as people meet them: a crowded street, an enterprise
// floor, a back office with a hidden network, a garden at the edge of the signal, a flat
// with a WPA-PSK network and a street of today, nearly all WPA2. Each is the default world
// changed or added to.
#pragma once

#include <string>

#include "tests/win/common/SimulatorProbe.h"

namespace hx::test {

// How many access points the default world has in range of a region of channels 1-11.
inline constexpr int kDefaultWorldAccessPoints = 24;

// The hidden network of the back office, and the access point the garden fades.
inline constexpr const char* kHiddenSsid = "Back-Office";
inline constexpr const char* kHiddenBssid = "06:A0:88:00:00:07";
inline constexpr const char* kGardenBssid = "06:A0:88:00:00:03";  // WPA-TKIP-Home

// Writes the world of this name (a row of the table in FieldWorlds.cpp) and points the
// utility started next at it; false for an unknown name or a world that does not build.
bool EnterWorld(ScenarioFile& file, const std::string& name);

}  // namespace hx::test
