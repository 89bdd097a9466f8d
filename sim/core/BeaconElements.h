// The information elements a network announces in its beacons and probe responses: the
// 12 fixed bytes (timestamp, beacon interval, capabilities), then SSID, supported rates,
// DS parameter set, IBSS parameter set, ERP, extended supported rates, RSN, further vendor
// elements and, last, the WPA element.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
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
// id, length byte, body (at most 255 bytes).
void AppendElement(std::vector<uint8_t>& out, uint8_t id, std::span<const uint8_t> body);
uint16_t CapabilityOf(const NetworkSpec& network);

// The whole WPA vendor element (0xDD, length, OUI 00:50:F2, type 1, version 1, suites).
std::vector<uint8_t> WpaElement(const SecurityElement& element);
// The whole RSN element (48, length, version 1, suites, capabilities; with MFPC set, an
// empty PMKID list and the group management cipher BIP-CMAC-128 follow).
std::vector<uint8_t> RsnElement(const SecurityElement& element);

// Reads a whole WPA (0xDD, 00:50:F2 type 1) or RSN (48) element back, every length
// checked: version 1, the group suite, the pairwise and AKM lists and, for RSN, the
// capabilities when present. A suite of another organisation reads as type 0. Nothing for
// anything else or anything malformed; bytes after the element are not read.
std::optional<SecurityElement> ReadSecurityElement(std::span<const uint8_t> element);

// The fixed fields and every element, as they go into a survey record's IEs.
std::vector<uint8_t> BeaconElements(const NetworkSpec& network, uint64_t timestampUs);

}  // namespace hxsim
