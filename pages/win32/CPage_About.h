// The About page: the utility's version, the driver's version and the adapter's MAC address,
// and below them which libraries the utility runs on (the simulated stand-ins or others).
#pragma once

#include <string>

#include "pages/win32/DialogItems.h"
#include "pages/win32/Page.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_About : public Page {
public:
    CPage_About() : Page(IDD_ABOUT) {}

    // Written by adapter identification every time an adapter is identified.
    virtual void SetDriverVersionText(const std::string& text);
    virtual void SetMacAddressText(const std::string& text);

protected:
    BOOL OnInitDialog() override;

private:
    LabelSet controls_;
};

}  // namespace hx::win
