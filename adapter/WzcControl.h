// Follows the Zero Configuration service's status and tells the driver, on every change,
// whether to honour its own requests (status 0) or the service's (1 and 2).
#pragma once

#include "adapter/AdapterLibrary.h"
#include "app/UtilityState.h"

namespace hx {

class WzcControl {
public:
    WzcControl(AdapterLibrary& library, UtilityState& state) : library_(library), state_(state) {}

    // Updates UtilityState::wzcState from the driver; statuses other than 0, 1 and 2 are
    // ignored. The driver is told on a change, and on the first known status after
    // NewAdapter even when that status is unchanged.
    void Check();
    // The adapter identified now may be a new one (plugged in again after it was lost):
    // its driver starts without our control state. The status known so far is kept.
    void NewAdapter() { driverTold_ = false; }

private:
    AdapterLibrary& library_;
    UtilityState& state_;
    bool driverTold_ = false;
};

}  // namespace hx
