#include "sim/core/StationElement.h"

#include <algorithm>

#include "sim/core/BeaconElements.h"

namespace hxsim {
namespace {

constexpr uint8_t kRsnOui[3] = {0x00, 0x0F, 0xAC};

bool Offers(const std::vector<uint8_t>& list, uint8_t type) {
    return std::find(list.begin(), list.end(), type) != list.end();
}

StationElement Refused(std::string why) { return {{}, std::move(why)}; }

}  // namespace

StationElement StationRsnElement(std::span<const uint8_t> networkElement, uint8_t akm) {
    const auto n = networkElement.empty() || networkElement[0] != ElementId::Rsn
                       ? std::nullopt
                       : ReadSecurityElement(networkElement);
    if (!n) return Refused("network's RSN element cannot be read");
    if (!Offers(n->akms, akm)) return Refused("key management differs");
    const uint8_t pairwise = Offers(n->pairwiseCiphers, Suite::Ccmp)   ? Suite::Ccmp
                             : Offers(n->pairwiseCiphers, Suite::Tkip) ? Suite::Tkip
                                                                       : 0;
    if (pairwise == 0) return Refused("no pairwise cipher the adapter can run");
    if (n->groupCipher != Suite::Tkip && n->groupCipher != Suite::Ccmp)
        return Refused("group cipher the adapter cannot run");
    std::vector<uint8_t> e = {ElementId::Rsn, 20, 1, 0};  // version 1
    const auto put = [&e](uint8_t type) {
        e.insert(e.end(), kRsnOui, kRsnOui + 3);
        e.push_back(type);
    };
    put(n->groupCipher);
    e.insert(e.end(), {1, 0});  // one pairwise suite
    put(pairwise);
    e.insert(e.end(), {1, 0});  // one AKM
    put(akm);
    e.insert(e.end(), {0, 0});  // capabilities: no management frame protection
    return {std::move(e), {}};
}

}  // namespace hxsim
