#include "pages/win32/CPage_Profile.h"

namespace hx::win {
namespace {
constexpr int kGroup[] = {IDC_PROF_GROUP};
constexpr int kSelectionButtons[] = {IDC_PROF_LOAD, IDC_PROF_MODIFY, IDC_PROF_REMOVE};
}  // namespace

BOOL CPage_Profile::OnInitDialog() {
    group_.Attach(Hwnd(), kGroup, kPageBackground, kGroupText);
    if (const PageContext* context = Context()) {
        model_ = std::make_unique<ProfilePageModel>(context->state, context->profiles, context->lastSetting,
                                                    context->applier);
        editor_.Connect(*context, model_->Session());
    }
    return TRUE;
}

void CPage_Profile::RefreshList() {
    if (!model_ || Hwnd() == nullptr) return;
    HWND list = Item(IDC_PROF_LIST);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : model_->Names())
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    const LRESULT count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count < 1) return;  // the buttons stay as they were
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(count - 1), 0);
    UpdateButtons();
}

void CPage_Profile::UpdateButtons() {
    const bool selected = ::SendMessageA(Item(IDC_PROF_LIST), LB_GETCURSEL, 0, 0) != LB_ERR;
    EnableItems(Hwnd(), kSelectionButtons, selected);
}

std::optional<std::string> CPage_Profile::SelectedName() const {
    HWND list = Item(IDC_PROF_LIST);
    const LRESULT selected = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return std::nullopt;
    const LRESULT length = ::SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == LB_ERR) return std::nullopt;
    std::string name(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<size_t>(length));
    return name;
}

bool CPage_Profile::OnCommand(int id, int code, HWND) {
    if (!model_) return false;
    if (id == IDC_PROF_LIST) {
        if (code == LBN_SELCANCEL) UpdateButtons();
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_PROF_ADD: AddCurrent(); return true;
    case IDC_PROF_MODIFY: Modify(); return true;
    case IDC_PROF_LOAD: LoadSelected(); return true;
    case IDC_PROF_REMOVE: Remove(); return true;
    default: return false;
    }
}

bool CPage_Profile::RunEditor() { return editor_.DoModal(::GetAncestor(Hwnd(), GA_ROOT)) == IDOK; }

void CPage_Profile::AddCurrent() {
    model_->BeginAdd();
    if (!RunEditor()) return;
    model_->FinishAdd();
    RefreshList();
}

void CPage_Profile::Modify() {
    const auto name = SelectedName();
    if (!name) return;
    model_->BeginModify(*name);
    if (RunEditor()) model_->FinishModify();
}

void CPage_Profile::LoadSelected() {
    const auto name = SelectedName();
    if (!name) return;
    model_->Load(*name);
    if (Shell()) Shell()->ShowPage(PageId::LinkInfo);
}

void CPage_Profile::Remove() {
    const auto name = SelectedName();
    if (!name) return;
    model_->Remove(*name);
    RefreshList();
}

}  // namespace hx::win
