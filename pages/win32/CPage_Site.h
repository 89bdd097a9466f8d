// The Site Survey page: scan, list the networks found, join one.
#pragma once

#include "pages/win32/Page.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_Site : public Page {
public:
    CPage_Site() : Page(IDD_SITE_SURVEY) {}

    // Starts a scan whose results the heartbeat collects a few ticks later.
    virtual void StartScan() {}
    // Reads the scan results into the list.
    virtual void FillList() {}
};

}  // namespace hx::win
