// How a network's signal wanders around its mean: a slow swell, a faster ripple and a
// little noise, all fixed functions of time, so the level at any moment is the same
// however the clock got there (and a manual clock may jump).
#pragma once

#include <cstdint>

#include "sim/core/Clock.h"
#include "sim/core/Scenario.h"

namespace hxsim {

// The level in dBm at time t; within meanRssi +- driftDb.
int SignalAt(const NetworkSpec& network, uint32_t seed, Millis t);
// A small quality jitter (-3..3) that changes every second.
int QualityJitterAt(const Mac& bssid, uint32_t seed, Millis t);

}  // namespace hxsim
