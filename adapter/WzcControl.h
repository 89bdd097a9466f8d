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
    // ignored.
    void Check();

private:
    AdapterLibrary& library_;
    UtilityState& state_;
};

}  // namespace hx
