#include "adapter/WzcControl.h"

namespace hx {

void WzcControl::Check() {
    const int status = library_.QueryWL_CheckWZCStatus(&state_.adapter);
    if (status < Wzc::OwnControl || status > Wzc::OwnNoStop) return;
    if (status == state_.wzcState && driverTold_) return;
    state_.wzcState = status;
    driverTold_ = true;
    library_.SetWL_HXUseHXOidState(&state_.adapter, status == Wzc::OwnControl ? 1 : 0);
}

}  // namespace hx
