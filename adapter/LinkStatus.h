// The link state as last polled from the adapter.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace hx {

struct LinkStatus {
    int networkType = 0;     // 1 infrastructure, 0 ad hoc (as the library reports it)
    int connectState = 0;    // 0 associated, anything else not
    int channel = 0;
    int linkSpeed = 0;       // kbit/s
    int linkQuality = 0;     // 0..100
    int signalStrength = 0;  // 0..100
    std::string ssid;
    std::array<uint8_t, 6> bssid{};
};

}  // namespace hx
