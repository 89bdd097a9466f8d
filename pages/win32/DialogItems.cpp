#include "pages/win32/DialogItems.h"

#include "config/win32/RegistryAppProfile.h"

namespace hx::win {

void FillList(HWND dialog, int id, std::span<const std::string> texts) {
    ::SendDlgItemMessageA(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const std::string& text : texts)
        ::SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void FillList(HWND dialog, int id, std::span<const char* const> texts) {
    ::SendDlgItemMessageA(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const char* text : texts)
        ::SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void SelectPosition(HWND dialog, int id, int position) {
    ::SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

int SelectedPosition(HWND dialog, int id) {
    const LRESULT position = ::SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    return position == CB_ERR ? -1 : static_cast<int>(position);
}

std::string ItemText(HWND dialog, int id) {
    HWND item = ::GetDlgItem(dialog, id);
    const int length = ::GetWindowTextLengthA(item);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied));
    return text;
}

void SetItemText(HWND dialog, int id, const std::string& text) {
    ::SetDlgItemTextA(dialog, id, text.c_str());
}

void EnableItems(HWND dialog, std::span<const int> ids, bool enable) {
    for (int id : ids) ::EnableWindow(::GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

void ShowItems(HWND dialog, std::span<const int> ids, bool show) {
    for (int id : ids) ::ShowWindow(::GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE);
}

void ShowMessage(HWND owner, const char* text) {
    const std::string caption = ApplicationNameFromModule(nullptr);
    ::MessageBoxA(owner, text, caption.c_str(), MB_OK);
}

void FocusWithTextSelected(HWND dialog, int id) {
    HWND box = ::GetDlgItem(dialog, id);
    ::SetFocus(box);
    ::SendMessageA(box, EM_SETSEL, 0, 0xFFFF);
    ::SendMessageA(box, EM_SCROLLCARET, 0, 0);
}

int FirstCheckedButton(HWND dialog, std::span<const int, 4> ids) {
    for (size_t i = 0; i < ids.size(); ++i)
        if (::IsDlgButtonChecked(dialog, ids[i]) == BST_CHECKED) return static_cast<int>(i);
    return -1;
}

void CheckOnlyButton(HWND dialog, std::span<const int, 4> ids, int position) {
    for (size_t i = 0; i < ids.size(); ++i)
        ::CheckDlgButton(dialog, ids[i], static_cast<int>(i) == position ? BST_CHECKED : BST_UNCHECKED);
}

void LabelSet::Attach(HWND dialog, std::span<const int> ids, COLORREF background) {
    for (int id : ids) {
        auto label = std::make_unique<CStaticEx>();
        if (!label->Attach(dialog, id)) continue;
        label->SetBackgroundColour(background);
        labels_.push_back(std::move(label));
    }
}

void LabelSet::Attach(HWND dialog, std::span<const int> ids, COLORREF background, COLORREF text) {
    Attach(dialog, ids, background);
    for (int id : ids)
        if (CStaticEx* label = Find(id)) label->SetTextColour(text);
}

CStaticEx* LabelSet::Find(int id) {
    for (auto& label : labels_)
        if (label->Id() == id) return label.get();
    return nullptr;
}

}  // namespace hx::win
