#include "app/UtilityState.h"

namespace hx {

void InitialiseProcessState(UtilityState& state) {
    state.adapter.deviceHandle = kAdapterNotOpen;
    state.adapter.libraryWord532 = 0;
    state.adapter.libraryWord540 = 0;
    state.wzcState = Wzc::Unknown;
}

}  // namespace hx
