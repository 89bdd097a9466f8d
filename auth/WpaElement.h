// Reading the access point's WPA or RSN information element out of the driver's survey list.
//
// The list is the NDIS 802.11 BSSID list in its extended form: a 32-bit NumberOfItems,
// then one record after another, each starting with its own 32-bit Length. The bytes come
// from the driver and are not trusted: every walk here stays inside the buffer and inside
// the record it reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "adapter/BssidList.h"
#include "adapter/WpaSuites.h"

namespace hx {

constexpr size_t kMaxElementSize = 2 + 255;   // id, length byte, longest body

// The first record whose MacAddress equals bssid, as a view into the list.
//
// The walk ends at NumberOfItems, at a record whose Length is 0 or reaches past the
// buffer, or at the end of the buffer. A record too short to hold its fixed fields (up to
// the start of its IEs) is stepped over without reading it.
std::optional<std::span<const uint8_t>> FindSurveyRecord(std::span<const uint8_t> list,
                                                         const uint8_t bssid[6]);

// Every element of that id in a record, whole (id byte, length byte, body), in the order
// they appear. The variable elements follow the 12 fixed bytes of IEs and run for
// IELength - 12 bytes, but never past the record's own Length; an element whose body would
// run past that end ends the walk and is not taken.
std::vector<std::span<const uint8_t>> ElementsWithId(std::span<const uint8_t> record, uint8_t id);
// The vendor-specific (0xDD) elements.
std::vector<std::span<const uint8_t>> VendorElements(std::span<const uint8_t> record);

}  // namespace hx
