// The 2.4 GHz band as the adapter sees it: regions and their channels, channel
// frequencies, and the rates a signal level carries.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace hxsim {

// Channels a region code allows, ascending; empty for a code the adapter does not know.
// Code 0 (factory default) is not a region of its own: the caller resolves it first.
std::vector<int> ChannelsOfRegion(int regionCode);
bool IsKnownRegion(int regionCode);

// Centre frequency in kHz (channel 14 is 2484 MHz); 0 outside 1-14.
int ChannelFrequencyKhz(int channel);

// Weakest signal (dBm) at which a rate (500 kbit/s units, basic bit cleared) still works.
int RateSensitivityDbm(uint8_t rate);

// The rate a link runs at: the fastest rate that both sides offer and the signal carries;
// the slowest common rate when the signal carries none; nothing when they share no rate.
// Rates are 802.11 rate codes (basic bit ignored); zero bytes end a list.
std::optional<uint8_t> LinkRate(const std::vector<uint8_t>& ours, const std::vector<uint8_t>& theirs,
                                int rssiDbm);

// Link quality in percent from the signal level over the noise floor.
int CommunicationQuality(int rssiDbm, int jitter);

}  // namespace hxsim
