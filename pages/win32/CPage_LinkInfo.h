// The Link Info page: the state of the wireless link as last polled.
#pragma once

#include "pages/win32/Page.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_LinkInfo : public Page {
public:
    CPage_LinkInfo() : Page(IDD_LINK_INFO) {}

    // Shows the link state just polled; called after every poll while this page is in front.
    virtual void UpdateDisplay() {}
};

}  // namespace hx::win
