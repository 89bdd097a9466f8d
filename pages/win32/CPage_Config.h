// The Configuration page: the radio part of the current setting.
#pragma once

#include "pages/win32/Page.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_Config : public Page {
public:
    CPage_Config() : Page(IDD_CONFIGURATION) {}

    // Reloads the controls from the current setting; run each time before the page is shown.
    virtual void LoadFromSetting() {}
    // Rebuilds the transmit-rate list from the rates the adapter supports.
    virtual void FillTxRateList() {}
};

}  // namespace hx::win
