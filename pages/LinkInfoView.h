// What the Link Info page shows for a polled link state.
#pragma once

#include <cstdint>
#include <string>

#include "adapter/LinkStatus.h"

namespace hx {

class AdapterLibrary;

struct LinkInfoView {
    std::string channel;           // field 1003
    std::string txRate;            // field 1001
    std::string ssid;              // field 1002
    std::string status;            // field 1000
    bool qualityAreaEnabled;       // group 1036, labels 1032 and 1034
    bool qualityPercentShown;      // 1033
    bool signalLabelShown;         // 1034
    std::string qualityPercent;    // 1033
    std::string signalPercent;     // 1035
    int qualityPosition;           // meter 1030
    int signalPosition;            // meter 1031
};

// "%d Mbps" for whole megabits, otherwise "%.1f Mbps": 11000 -> "11 Mbps", 5500 -> "5.5 Mbps".
std::string TxRateText(int linkSpeedKbps);

// The address as six hexadecimal pairs joined by "-", made from the driver library's
// separated hex form with its separators replaced.
std::string DashedAddress(AdapterLibrary& library, const uint8_t address[6]);

LinkInfoView MakeLinkInfoView(const LinkStatus& link, AdapterLibrary& library);

}  // namespace hx
