// The link state as last polled from the adapter.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace hx {

// QueryWL_ConnectState: associated, or (any other value) not. AuthenticationRefused: not
// associated because the access point refused the adapter's shared-key authentication (the
// WEP key is not the network's).
namespace ConnectState { constexpr int Associated = 0, NotAssociated = 1, AuthenticationRefused = 2; }

struct LinkStatus {
    int networkType = 0;     // NetworkType::Infrastructure or AdHoc, as the library reports it
    int connectState = 0;    // ConnectState::Associated, anything else not
    int channel = 0;
    int linkSpeed = 0;       // kbit/s
    int linkQuality = 0;     // 0..100
    int signalStrength = 0;  // 0..100
    std::string ssid;
    std::array<uint8_t, 6> bssid{};
};

}  // namespace hx
