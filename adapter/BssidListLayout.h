// The layout of the driver library's scan result: the NDIS 802.11 BSSID list in its
// extended form (NDIS_802_11_BSSID_LIST_EX of NDIS_WLAN_BSSID_EX records). The list is a
// 32-bit NumberOfItems followed by the records; each record starts at the previous one's
// start plus its Length. Integers are little-endian 32-bit. The utility reads this layout,
// the simulated adapter writes it, and the tests build it from here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hx {

// Offsets within one NDIS_WLAN_BSSID_EX record.
namespace BssidRecord {
constexpr size_t Length = 0, MacAddress = 4, SsidLength = 12, Ssid = 16, Privacy = 48, Rssi = 52,
                 NetworkTypeInUse = 56, ConfigLength = 60, BeaconPeriod = 64, AtimWindow = 68,
                 DsConfig = 72, FhConfigLength = 76, InfrastructureMode = 92, SupportedRates = 96,
                 IeLength = 112, Ies = 116;
constexpr size_t SsidSize = 32;             // the Ssid field's bytes
constexpr size_t SupportedRatesSize = 16;
constexpr size_t FixedIes = 12;             // timestamp, beacon interval, capabilities
constexpr size_t MinimumSize = Ies;         // a record must at least reach its IEs
}  // namespace BssidRecord

constexpr size_t kSurveyListHeader = 4;     // NumberOfItems before the first record

}  // namespace hx
