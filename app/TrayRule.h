// Which tray icon set the utility shows, and which icon each set holds.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "adapter/LinkStatus.h"
#include "resources/resource.h"

namespace hx {

namespace TraySet {
constexpr int NoAdapter = 0;          // no adapter ready (also the first set shown)
constexpr int NoSignal = 1;           // adapter ready, no signal sample
constexpr int GreenBars = 2;          // 802.11b rate: sets 2..5 are one to four bars
constexpr int YellowBars = 6;         // any other rate: sets 6..9 are one to four bars
constexpr int ZeroConfiguration = 10; // the Windows Zero Configuration service has the adapter
constexpr int Count = 11;
}  // namespace TraySet

// Every set has one icon, shown for this long before the next of its set (there is none).
inline constexpr int kTrayIconDisplayTimeMs = 500;

// The icon resource of each set, in set order.
inline constexpr std::array<int, TraySet::Count> kTraySetIcons{
    IDI_NO_ADAPTER,
    IDI_BARS_EMPTY,
    IDI_BARS1_GREEN, IDI_BARS2_GREEN, IDI_BARS3_GREEN, IDI_BARS4_GREEN,
    IDI_BARS1_YELLOW, IDI_BARS2_YELLOW, IDI_BARS3_YELLOW, IDI_BARS4_YELLOW,
    IDI_ZERO_CONFIG,
};

// The set for a ready adapter from the link just polled: the rate family picks green
// (1, 2, 5.5 and 11 Mbit/s) or yellow, the signal strength the number of bars, 25 % a bar.
int TraySetForLink(const LinkStatus& link);

// The longest tooltip the icon's record carries: 64 bytes with the terminating zero.
inline constexpr std::size_t kTrayTooltipMaxBytes = 63;

// The tooltip that names the utility and what the set shown says: "HX-88U: <SSID>,
// <quality> %" for a link, else why there is none; " (simulated)" at its end while the
// simulated adapter is loaded. Never longer than kTrayTooltipMaxBytes (the SSID gives way);
// control characters of the SSID show as "?", and a cut never splits a UTF-8 sequence.
std::string TrayTooltip(int traySet, const LinkStatus& link, bool simulatedAdapter);

}  // namespace hx
