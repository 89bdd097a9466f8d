#include "app/TrayRule.h"

#include <algorithm>

#include "app/VendorLibraries.h"

namespace hx {
namespace {

bool Is80211bRate(int linkSpeedKbps) {
    switch (linkSpeedKbps / 1000) {
    case 1: case 2: case 5: case 11: return true;
    default: return false;
    }
}

// Cuts text to at most maxBytes without leaving the lead bytes of a UTF-8 sequence behind.
std::string CutWhole(std::string text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    // Step back over continuation bytes, then over the lead byte they belong to.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

std::string Printable(std::string text) {
    for (char& ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F) ch = '?';
    }
    return text;
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
        return CutWhole(name + Printable(link.ssid), kTrayTooltipMaxBytes - tail.size()) + tail;
    }
    return CutWhole(text + mark, kTrayTooltipMaxBytes);
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
