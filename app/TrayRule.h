// Which tray icon set the utility shows, and which icon each set holds.
#pragma once

#include <array>

#include "adapter/LinkStatus.h"

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
    144,  // 0: bars crossed out
    145,  // 1: four empty bars
    143, 137, 138, 139,  // 2..5: one to four green bars
    140, 141, 142, 136,  // 6..9: one to four yellow bars
    152,  // 10: bars behind a prohibition sign
};

// The set for a ready adapter from the link just polled: the rate family picks green
// (1, 2, 5.5 and 11 Mbit/s) or yellow, the signal strength the number of bars, 25 % a bar.
int TraySetForLink(const LinkStatus& link);

}  // namespace hx
