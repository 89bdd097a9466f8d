// The Profile page: the stored profiles, and adding, modifying, loading and removing them.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "pages/ProfilePageModel.h"
#include "pages/win32/CDlg_Profile.h"
#include "pages/win32/DialogItems.h"
#include "pages/win32/Page.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_Profile : public Page {
public:
    CPage_Profile() : Page(IDD_PROFILE) {}

    // Empties and refills the list of profiles; run each time after the page is shown.
    virtual void RefreshList();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    CDlg_Profile& Editor() { return editor_; }

private:
    void UpdateButtons();
    std::optional<std::string> SelectedName() const;
    bool RunEditor();
    void AddCurrent();
    void Modify();
    void LoadSelected();
    void Remove();

    std::unique_ptr<ProfilePageModel> model_;
    CDlg_Profile editor_;
    LabelSet group_;
};

}  // namespace hx::win
