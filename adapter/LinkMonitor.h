// Reads the state of the wireless link into UtilityState::link, smoothing signal strength
// and link quality over the last six samples taken in infrastructure mode.
#pragma once

#include <array>

#include "adapter/AdapterLibrary.h"
#include "app/ShellPort.h"
#include "app/UtilityState.h"
#include "config/LastSettingStore.h"

namespace hx {

constexpr int kLinkSamples = 6;
constexpr int kWeakestSignalDbm = -105;
constexpr int kStrongestSignalDbm = -40;

class LinkMonitor {
public:
    LinkMonitor(AdapterLibrary& library, UtilityState& state, LastSettingStore& store, ShellPort& shell)
        : library_(library), state_(state), store_(store), shell_(shell) {}

    // Empties the sample history (after the adapter has been identified).
    void ResetHistory();
    // One poll. A failed query clears UtilityState::adapterReady and ends the poll with the
    // fields read so far; a complete poll refreshes the Link Info page when it is in front.
    void Poll();

private:
    // False when the poll is to end: the query failed.
    bool Read(int value, int& field);
    void Fail() { state_.adapterReady = 0; }

    AdapterLibrary& library_;
    UtilityState& state_;
    LastSettingStore& store_;
    ShellPort& shell_;

    std::array<int, kLinkSamples> qualitySamples_{};
    std::array<int, kLinkSamples> signalSamples_{};
    int ringIndex_ = 0;
    int sampleCount_ = 0;
};

// The percentage shown for a mean signal level in dBm (-105 gives 0, -40 gives 100).
int SignalPercent(int meanDbm);

}  // namespace hx
