#include "sim/core/SignalDrift.h"

#include <cmath>

namespace hxsim {
namespace {

uint32_t Mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

uint32_t HashOf(const Mac& mac, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u;
    for (uint8_t b : mac) h = Mix(h ^ b);
    return h;
}

// -1..1
double Unit(uint32_t h) { return (static_cast<double>(h % 20001) - 10000.0) / 10000.0; }

}  // namespace

int SignalAt(const NetworkSpec& network, uint32_t seed, Millis t) {
    if (network.driftDb == 0) return network.meanRssi;
    const uint32_t h = HashOf(network.bssid, seed);
    const double pi = 3.14159265358979;
    const double seconds = static_cast<double>(t) / 1000.0;
    const double phase1 = (h % 1000) / 1000.0 * 2 * pi;
    const double phase2 = ((h >> 10) % 1000) / 1000.0 * 2 * pi;
    const double period1 = 40.0 + (h >> 20) % 40;   // a slow swell of 40-80 s
    const double period2 = 7.0 + (h >> 26) % 6;     // a ripple of 7-13 s
    const double noise = Unit(Mix(h ^ static_cast<uint32_t>(t / 500)));
    const double amplitude = network.driftDb;
    const double offset = amplitude * (0.5 * std::sin(2 * pi * seconds / period1 + phase1) +
                                       0.3 * std::sin(2 * pi * seconds / period2 + phase2) +
                                       0.2 * noise);
    return network.meanRssi + static_cast<int>(std::lround(offset));
}

int QualityJitterAt(const Mac& bssid, uint32_t seed, Millis t) {
    return static_cast<int>(Mix(HashOf(bssid, seed + 7) ^ static_cast<uint32_t>(t / 1000)) % 7) - 3;
}

}  // namespace hxsim
