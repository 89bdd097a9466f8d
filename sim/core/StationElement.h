// The RSN element the adapter offers a network in its association request. This is the one
// place it is made: the supplicant reads the same bytes back from the adapter
// (HxSimAssociationElement) for its message 2, so the two cannot differ.
//
// The rule: one pairwise suite (CCMP when the network offers it, else TKIP), the one AKM
// asked for, the group cipher the network announces, and RSN capabilities 0: the adapter
// offers no management frame protection.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace hxsim {

struct StationElement {
    std::vector<uint8_t> element;     // empty when the adapter cannot join the network
    std::string refusal;              // why not, for the event log
};

// networkElement: the network's whole RSN element (id 48) as its beacons carry it; akm: the
// suite type of the key management wanted (1 802.1X, 2 PSK). The network's element is read
// with every length checked.
StationElement StationRsnElement(std::span<const uint8_t> networkElement, uint8_t akm);

}  // namespace hxsim
