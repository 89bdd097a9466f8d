// The WPA information element as access points announce it among a scan record's
// elements: a vendor element (id 0xDD) with the OUI 00:50:F2 and type 1, version 1, the
// group cipher suite, then a 16-bit little-endian count and that many pairwise cipher
// suites, then a count and the key management suites. A suite is four bytes: the OUI and
// its type.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hx {

constexpr uint8_t kVendorElementId = 0xDD;

// Suite types of the cipher and key management suites.
namespace WpaCipher { constexpr uint8_t Wep40 = 1, Tkip = 2, Ccmp = 4, Wep104 = 5; }
namespace WpaKeyManagement { constexpr uint8_t Ieee8021X = 1, Psk = 2; }

// Offsets within the whole element (id and length byte included).
namespace WpaElementOffset {
constexpr size_t PairwiseCount = 12;
constexpr size_t FirstPairwiseType = 17;
// The type of the first key management suite, after pairwiseCount pairwise suites.
constexpr size_t FirstKeyManagementType(size_t pairwiseCount) { return 19 + 4 * pairwiseCount; }
}  // namespace WpaElementOffset

}  // namespace hx
