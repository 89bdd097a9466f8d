// The Encryption page: encryption, authentication, WEP keys and the WPA-PSK pass phrase.
#pragma once

#include <windows.h>

#include <memory>

#include "pages/EncryptionPageModel.h"
#include "pages/win32/DialogItems.h"
#include "pages/win32/Page.h"
#include "pages/win32/SecurityControls.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_Wep : public Page {
public:
    static constexpr SecurityControlIds kSecurityIds{
        IDC_WEP_ENCRYPT, IDC_WEP_AUTH,
        {IDC_WEP_DEFAULT_KEY_0, IDC_WEP_DEFAULT_KEY_1, IDC_WEP_DEFAULT_KEY_2, IDC_WEP_DEFAULT_KEY_3},
        {IDC_WEP_KEY_0, IDC_WEP_KEY_1, IDC_WEP_KEY_2, IDC_WEP_KEY_3},
        IDC_WEP_KEY_LENGTH, IDC_WEP_KEY_FORMAT,
        {IDC_WEP_DEFAULT_KEY_LABEL, IDC_WEP_NETWORK_KEY_LABEL, IDC_WEP_KEY_FORMAT_LABEL, IDC_WEP_KEY_LENGTH_LABEL},
        IDC_WEP_PASSPHRASE_LABEL, IDC_WEP_PASSPHRASE};

    CPage_Wep() : Page(IDD_ENCRYPTION) {}

    // Reloads the page from the current setting; run each time before the page is shown.
    virtual void Load();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void Apply();

    std::unique_ptr<EncryptionPageModel> model_;
    std::unique_ptr<SecurityControls> security_;
    LabelSet labels_;
};

}  // namespace hx::win
