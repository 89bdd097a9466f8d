// The Encryption page: encryption, authentication, WEP keys and the WPA-PSK pass phrase.
#pragma once

#include "pages/win32/Page.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_Wep : public Page {
public:
    CPage_Wep() : Page(IDD_ENCRYPTION) {}

    // Reloads the page from the current setting; run each time before the page is shown.
    virtual void Load() {}
};

}  // namespace hx::win
