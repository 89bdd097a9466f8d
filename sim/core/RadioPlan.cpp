#include "sim/core/RadioPlan.h"

#include <algorithm>

namespace hxsim {
namespace {

std::vector<int> Range(int first, int last) {
    std::vector<int> channels;
    for (int c = first; c <= last; ++c) channels.push_back(c);
    return channels;
}

constexpr int kNoiseFloorDbm = -95;

}  // namespace

std::vector<int> ChannelsOfRegion(int regionCode) {
    switch (regionCode) {
        case 0x10: return Range(1, 11);   // USA
        case 0x20: return Range(1, 11);   // Canada
        case 0x30: return Range(1, 13);   // most of Europe, Australia
        case 0x31: return Range(10, 11);  // Spain
        case 0x32: return Range(10, 13);  // France
        case 0x40: return Range(1, 14);   // Japan
        case 0x50: return Range(3, 9);    // Israel
        default: return {};
    }
}

bool IsKnownRegion(int regionCode) { return !ChannelsOfRegion(regionCode).empty(); }

int ChannelFrequencyKhz(int channel) {
    if (channel == 14) return 2484000;
    if (channel < 1 || channel > 13) return 0;
    return (2412 + 5 * (channel - 1)) * 1000;
}

int RateSensitivityDbm(uint8_t rate) {
    switch (rate & 0x7F) {
        case 2: return -94;
        case 4: return -91;
        case 11: return -89;
        case 12: return -88;
        case 18: return -87;
        case 22: return -86;
        case 24: return -85;
        case 36: return -83;
        case 48: return -80;
        case 72: return -76;
        case 96: return -72;
        case 108: return -70;
        default: return -80;
    }
}

std::optional<uint8_t> LinkRate(const std::vector<uint8_t>& ours, const std::vector<uint8_t>& theirs,
                                int rssiDbm) {
    std::vector<uint8_t> common;
    for (uint8_t a : ours) {
        if (a == 0) break;
        for (uint8_t b : theirs) {
            if (b == 0) break;
            if ((a & 0x7F) == (b & 0x7F)) {
                common.push_back(a & 0x7F);
                break;
            }
        }
    }
    if (common.empty()) return std::nullopt;
    std::sort(common.begin(), common.end());
    uint8_t best = common.front();
    for (uint8_t rate : common)
        if (rssiDbm >= RateSensitivityDbm(rate)) best = rate;
    return best;
}

int CommunicationQuality(int rssiDbm, int jitter) {
    const int snr = rssiDbm - kNoiseFloorDbm;
    return std::clamp(snr * 100 / 45 + jitter, 0, 100);
}

}  // namespace hxsim
