// The profile editor: a modal dialog in which one complete setting is reviewed and named.
// It edits the working copy (UtilityState::editor) and the shared edit session, and only
// when it ends with OK; it writes nothing to the registry or the adapter.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/win32/Dialog.h"
#include "pages/ProfileEditorModel.h"
#include "pages/ProfilePageModel.h"
#include "pages/win32/DialogItems.h"
#include "pages/win32/PageContext.h"
#include "pages/win32/SecurityControls.h"
#include "resources/resource.h"

namespace hx::win {

class CDlg_Profile : public Dialog {
public:
    static constexpr SecurityControlIds kSecurityIds{
        IDC_ED_ENCRYPT, IDC_ED_AUTH,
        {IDC_ED_DEFAULT_KEY_0, IDC_ED_DEFAULT_KEY_1, IDC_ED_DEFAULT_KEY_2, IDC_ED_DEFAULT_KEY_3},
        {IDC_ED_KEY_0, IDC_ED_KEY_1, IDC_ED_KEY_2, IDC_ED_KEY_3},
        IDC_ED_KEY_LENGTH, IDC_ED_KEY_FORMAT,
        {IDC_ED_DEFAULT_KEY_LABEL, IDC_ED_NETWORK_KEY_LABEL, IDC_ED_KEY_FORMAT_LABEL, IDC_ED_KEY_LENGTH_LABEL},
        IDC_ED_PASSPHRASE_LABEL, IDC_ED_PASSPHRASE};

    CDlg_Profile() : Dialog(IDD_PROFILE_EDITOR) {}

    // Set before the first run; without it the editor shows its controls and OK ends it
    // with Cancel.
    void Connect(const PageContext& context, ProfileEditSession& session);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    // Enter acts as the OK button, name checks included.
    void OnOK() override { Accept(); }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void FillLists();
    void LoadWorkingCopy();
    void OnWirelessModeChange();
    // OK: the name checks when adding, then the controls into the working copy.
    void Accept();
    ProfileEditorPositions PositionsFromControls();

    UtilityState* state_ = nullptr;
    ProfileStore* profiles_ = nullptr;
    ProfileEditSession* session_ = nullptr;
    std::unique_ptr<SecurityControls> security_;
    ProfileEditorPositions shown_;   // what the controls were loaded with
    LabelSet labels_;
};

}  // namespace hx::win
