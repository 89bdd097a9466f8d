// The profile editor: a modal dialog in which one complete setting is reviewed and named.
#pragma once

#include "app/win32/framework/Dialog.h"
#include "resources/resource.h"

namespace hx::win {

class CDlg_Profile : public Dialog {
public:
    CDlg_Profile() : Dialog(IDD_PROFILE_EDITOR) {}
};

}  // namespace hx::win
