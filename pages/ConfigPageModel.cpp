#include "pages/ConfigPageModel.h"

#include "config/ValueTables.h"

namespace hx {

int ChannelPosition(const SupportedChannels& channels, int channel) {
    const int count = channels.count < 0 ? 0 : (channels.count > 14 ? 14 : channels.count);
    for (int i = 0; i < count; ++i) {
        if (channels.channel[static_cast<size_t>(i)] == channel) return i;
    }
    return -1;
}

bool ChannelListEnabled(int wirelessMode) { return wirelessMode != NetworkType::Infrastructure; }

ConfigPositions LoadConfigPositions(const WlanSetting& setting, const SupportedRates& rates,
                                    const SupportedChannels& channels, AdapterLibrary& library) {
    ConfigPositions positions;
    positions.ssid = setting.SSID;
    positions.wirelessMode = setting.NetworkType;
    positions.preamble = setting.PreambleMode;
    positions.powerMode = setting.PowerSaveMode;
    positions.channel = ChannelPosition(channels, setting.Channel);
    positions.txRate = RatePositionOfDesiredRate(library, setting.DesiredRate, rates);
    positions.region = RegionPositionOfCode(setting.Domain);
    return positions;
}

void StoreConfigPositions(const ConfigPositions& positions, WlanSetting& setting,
                          const SupportedRates& rates, const SupportedChannels& channels) {
    setting.SSID = positions.ssid;
    setting.NetworkType = positions.wirelessMode;
    if (positions.wirelessMode == NetworkType::AdHoc) {
        const bool chosen = positions.channel >= 0 && positions.channel < 14;
        setting.Channel = channels.channel[static_cast<size_t>(chosen ? positions.channel : 0)];
    }
    setting.DesiredRate = DesiredRateForPosition(rates, positions.txRate);
    setting.PreambleMode = positions.preamble;
    setting.PowerSaveMode = positions.powerMode;
    setting.Domain = RegionCodeAtPosition(positions.region);
}

}  // namespace hx
