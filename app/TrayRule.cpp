#include "app/TrayRule.h"

#include <algorithm>

#include "app/VendorLibraries.h"
#include "config/ShownText.h"

namespace hx {
namespace {

bool Is80211bRate(int linkSpeedKbps) {
    switch (linkSpeedKbps / 1000) {
    case 1: case 2: case 5: case 11: return true;
    default: return false;
    }
}

}  // namespace

std::string TrayTooltip(int traySet, const LinkStatus& link, bool simulatedAdapter) {
    const std::string name = "HX-88U: ";
    const std::string mark = simulatedAdapter ? std::string(kSimulatedMark) : std::string();
    std::string text;
    if (traySet == TraySet::NoAdapter) {
        text = name + "no adapter";
    } else if (traySet == TraySet::ZeroConfiguration) {
        text = name + "controlled by Windows Zero Configuration";
    } else if (link.connectState != ConnectState::Associated || link.ssid.empty()) {
        text = name + "not connected";
    } else {
        const int quality = std::clamp(link.linkQuality, 0, 100);
        // The SSID gives way first, so the quality always shows.
        const std::string tail = ", " + std::to_string(quality) + " %" + mark;
        return name + ShownText(link.ssid, kTrayTooltipMaxBytes - name.size() - tail.size()) + tail;
    }
    return (text + mark).substr(0, kTrayTooltipMaxBytes);  // fixed ASCII texts
}

int TraySetForLink(const LinkStatus& link) {
    if (link.signalStrength == 0) return TraySet::NoSignal;
    const int base = Is80211bRate(link.linkSpeed) ? TraySet::GreenBars : TraySet::YellowBars;
    // The monitor keeps the strength within 0..100; a value outside it must still pick
    // one of the four bar icons of its own family.
    const int strength = link.signalStrength < 1 ? 1 : link.signalStrength > 100 ? 100 : link.signalStrength;
    return base + (strength - 1) / 25;
}

}  // namespace hx
