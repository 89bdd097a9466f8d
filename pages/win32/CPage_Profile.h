// The Profile page: the stored profiles, and adding, modifying, loading and removing them.
#pragma once

#include "pages/win32/CDlg_Profile.h"
#include "pages/win32/Page.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_Profile : public Page {
public:
    CPage_Profile() : Page(IDD_PROFILE) {}

    // Empties and refills the list of profiles; run each time after the page is shown.
    virtual void RefreshList() {}

protected:
    CDlg_Profile& Editor() { return editor_; }

private:
    CDlg_Profile editor_;
};

}  // namespace hx::win
