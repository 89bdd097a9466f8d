// The utility's tray icon as the screen shows it: which of the eleven icon sets is painted
// in Wine's stand-alone tray window.
#pragma once

#include <string>
#include <vector>

namespace hx::test {

// The texts of the balloon notices on the screen now (any process's).
std::vector<std::string> BalloonTextsOnScreen();

// The set shown now (0-10), or -1 when no icon of the utility can be told apart there
// (no tray window, or a window lying over it).
int TraySetOnScreen();

// How many of the eleven sets' icons the probe tells apart (11 when it can read them all).
int DistinctTraySets();

// The set the tray rule gives for a link of this speed and signal percentage (1-9).
int ExpectedTraySet(int linkSpeedKbps, int signalPercent);

// The signal percentage the utility shows once its six samples all read this RSSI.
int SignalPercent(int rssi);

}  // namespace hx::test
