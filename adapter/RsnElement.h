// The RSN element (id 48) with which access points announce WPA2 and WPA3: a 16-bit
// version (1), then, each optional and present only when everything before it is, the group
// data cipher suite, a 16-bit count and that many pairwise cipher suites, a count and the
// key management (AKM) suites, the 16-bit RSN capabilities, a count and the PMKIDs
// (16 bytes each), and the group management cipher suite. A suite is four bytes: an OUI and
// a type. Integers are little-endian.
//
// The bytes come from the air through the driver: the element is read only as far as its
// own length byte says, and anything that does not add up is refused as a whole.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace hx {

constexpr uint8_t kRsnElementId = 48;
constexpr uint16_t kRsnVersion = 1;

// A cipher or AKM suite. The standard's own suites carry the OUI 00-0F-AC.
struct RsnSuite {
    std::array<uint8_t, 3> oui{0x00, 0x0F, 0xAC};
    uint8_t type = 0;
    bool operator==(const RsnSuite&) const = default;
    bool Standard(uint8_t t) const { return oui == std::array<uint8_t, 3>{0x00, 0x0F, 0xAC} && type == t; }
};

namespace RsnCipher { constexpr uint8_t Wep40 = 1, Tkip = 2, Ccmp = 4, Wep104 = 5, BipCmac = 6; }
namespace RsnAkm {
constexpr uint8_t Ieee8021X = 1, Psk = 2, FtIeee8021X = 3, FtPsk = 4, Ieee8021XSha256 = 5, PskSha256 = 6,
                  Sae = 8, FtSae = 9;
}
// RSN capability bits: management frame protection required and capable.
namespace RsnCapability { constexpr uint16_t Mfpr = 0x0040, Mfpc = 0x0080; }

// What an element announces. The parts an element leaves out take the values the
// standard gives them: CCMP as the group and the pairwise cipher, 802.1X as the AKM, no
// capabilities, no PMKIDs, no group management cipher.
struct RsnInfo {
    uint16_t version = kRsnVersion;
    RsnSuite groupCipher{{0x00, 0x0F, 0xAC}, RsnCipher::Ccmp};
    std::vector<RsnSuite> pairwise{RsnSuite{{0x00, 0x0F, 0xAC}, RsnCipher::Ccmp}};
    std::vector<RsnSuite> akms{RsnSuite{{0x00, 0x0F, 0xAC}, RsnAkm::Ieee8021X}};
    uint16_t capabilities = 0;
    std::vector<std::array<uint8_t, 16>> pmkids;
    std::optional<RsnSuite> groupManagementCipher;

    bool operator==(const RsnInfo&) const = default;
    bool OffersPairwise(uint8_t type) const;
    bool OffersAkm(uint8_t type) const;
};

// The whole element (id, length byte, body). Refused (nullopt): another id, a length byte
// that does not match the span, a version other than 1, a part cut short, a count of suites
// or PMKIDs running past the end, and a pairwise or AKM count of 0. Bytes after the group
// management cipher are later extensions and are passed over.
std::optional<RsnInfo> ParseRsnElement(std::span<const uint8_t> element);

}  // namespace hx
