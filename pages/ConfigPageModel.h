// The Configuration page's controls as positions, and how they map to and from the
// current setting.
#pragma once

#include <string>

#include "config/WlanSetting.h"

namespace hx {

class AdapterLibrary;

struct ConfigPositions {
    std::string ssid;
    int wirelessMode = -1;   // = NetworkType
    int channel = -1;        // position in the channel list; -1 none
    int txRate = 0;          // 0 "Auto", k the k-th supported rate
    int preamble = -1;
    int powerMode = -1;
    int region = 0;
};

// The channel list position holding this channel, -1 when it is not listed.
int ChannelPosition(const SupportedChannels& channels, int channel);
// The channel list is enabled unless "Infrastructure" is chosen.
bool ChannelListEnabled(int wirelessMode);

ConfigPositions LoadConfigPositions(const WlanSetting& setting, const SupportedRates& rates,
                                    const SupportedChannels& channels, AdapterLibrary& library);

// Writes the page into the setting. The channel changes only in ad hoc mode (the first
// listed channel when none is chosen); the rate list is built from the supported rates.
void StoreConfigPositions(const ConfigPositions& positions, WlanSetting& setting,
                          const SupportedRates& rates, const SupportedChannels& channels);

}  // namespace hx
