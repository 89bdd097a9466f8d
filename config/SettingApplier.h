// Pushes configuration values to the adapter and records each value the adapter accepted
// in the last-setting store. Single-value operations return 0 or -1; the record-level
// ApplyWepSetting and ApplySetting return 1 or 0 and stop at the first failure, keeping
// what was applied before it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "adapter/AdapterLibrary.h"
#include "app/UtilityState.h"
#include "auth/WorkerControl.h"
#include "config/LastSettingStore.h"

namespace hx {

class SettingApplier {
public:
    SettingApplier(AdapterLibrary& library, UtilityState& state, LastSettingStore& store,
                   WorkerControl& worker)
        : library_(library), state_(state), store_(store), worker_(worker) {}

    int ApplyNetworkType(int networkType);
    int ApplyAuthenticationMode(int mode);
    int ApplyChannel(int channel);
    int ApplyWepStatus(int status);
    int ApplyPreambleMode(int mode);
    int ApplyPowerSaveMode(int mode);
    // Sets the region, applies the channel set of the region now in force and refreshes
    // UtilityState::supportedChannels; stores the code as requested.
    int ApplyDomain(int region);
    // At most 32 characters reach the adapter and the store.
    int ApplySsid(std::string_view ssid);
    // 16 rate bytes from hex text (at most 99 characters are read); the text is stored.
    int ApplyDesiredRate(std::string_view rates);

    // Writes the four keys in index order, each stored once the adapter took it; the length
    // and default key are stored after the fourth. Lengths other than 128 and 256 are
    // written as 64-bit keys but stored under the length given.
    int ApplyWepKeys(int defaultKey, int bits, const std::array<std::string, 4>& keys);
    // The current setting's keys, then its encryption code.
    int ApplyWepSetting();
    // The whole current setting: stops the worker, applies field by field, and starts the
    // worker again for WPA and WPA2 (3, 4, 6 and 7). UtilityState::settingOwed tells
    // whether it stopped at a refused call.
    int ApplySetting();

private:
    // A driver setter's result: 0 is success. On success the value is stored.
    int Stored(int result, const char* name, int value);

    AdapterLibrary& library_;
    UtilityState& state_;
    LastSettingStore& store_;
    WorkerControl& worker_;
};

}  // namespace hx
