// The information elements a network announces in its beacons and probe responses: the
// 12 fixed bytes (timestamp, beacon interval, capabilities), then SSID, supported rates,
// DS parameter set, IBSS parameter set, ERP, extended supported rates, RSN, further vendor
// elements and, last, the WPA element.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/core/Scenario.h"

namespace hxsim {

namespace ElementId {
constexpr uint8_t Ssid = 0, SupportedRates = 1, DsParameterSet = 3, IbssParameterSet = 6, Erp = 42,
                  Rsn = 48, ExtendedSupportedRates = 50, Vendor = 0xDD;
}

namespace Capability {
constexpr uint16_t Ess = 0x0001, Ibss = 0x0002, Privacy = 0x0010, ShortPreamble = 0x0020,
                   ShortSlotTime = 0x0400;
}

bool HasOfdmRates(const std::vector<uint8_t>& rates);
uint16_t CapabilityOf(const NetworkSpec& network);

// The whole WPA vendor element (0xDD, length, OUI 00:50:F2, type 1, version 1, suites).
std::vector<uint8_t> WpaElement(const SecurityElement& element);
// The whole RSN element (48, length, version 1, suites, capabilities 0).
std::vector<uint8_t> RsnElement(const SecurityElement& element);

// The fixed fields and every element, as they go into a survey record's IEs.
std::vector<uint8_t> BeaconElements(const NetworkSpec& network, uint64_t timestampUs);

}  // namespace hxsim
