#include "app/TrayRule.h"

namespace hx {
namespace {

bool Is80211bRate(int linkSpeedKbps) {
    switch (linkSpeedKbps / 1000) {
    case 1: case 2: case 5: case 11: return true;
    default: return false;
    }
}

}  // namespace

int TraySetForLink(const LinkStatus& link) {
    if (link.signalStrength == 0) return TraySet::NoSignal;
    const int base = Is80211bRate(link.linkSpeed) ? TraySet::GreenBars : TraySet::YellowBars;
    // The monitor keeps the strength within 0..100; a value outside it must still pick
    // one of the four bar icons of its own family.
    const int strength = link.signalStrength < 1 ? 1 : link.signalStrength > 100 ? 100 : link.signalStrength;
    return base + (strength - 1) / 25;
}

}  // namespace hx
