// The main window and the keyboard: the page keys, and where the focus goes when the page
// in front changes.
#include "app/win32/CDlg_Main.h"

#include "app/PageOrder.h"
#include "resources/resource.h"

namespace hx::win {

void CDlg_Main::KeepFocusOffHiddenPages() {
    // A control of a hidden page must not hold the keyboard focus (typing would go to it, and
    // Tab would walk the hidden page). The focus goes to the first control of the page shown.
    HWND frame = Item(IDC_PAGE_FRAME);
    HWND focus = ::GetFocus();
    if (focus == nullptr || focus == frame || !::IsChild(frame, focus)) return;
    if (current_ != nullptr && ::IsChild(current_->page->Hwnd(), focus)) return;
    FocusPageStart();
}

// The first control Tab reaches in the page shown, or the frame when the page has none.
void CDlg_Main::FocusPageStart() {
    HWND target = Item(IDC_PAGE_FRAME);
    if (current_ != nullptr) {
        HWND page = current_->page->Hwnd();
        HWND first = ::GetNextDlgTabItem(page, nullptr, FALSE);
        if (first != nullptr && ::IsChild(page, first)) target = first;
    }
    // Focusing a control would activate a hidden window that does not hold the focus. A window
    // in the background may refuse it too, and when it is activated it gives the focus back to
    // the control that had it when it was left: the check after the next activation moves it on.
    pendingFocus_ = nullptr;
    HWND focus = ::GetFocus();
    if (::IsWindowVisible(Hwnd()) || (focus != nullptr && (focus == Hwnd() || ::IsChild(Hwnd(), focus))))
        ::SendMessageA(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    if (::GetForegroundWindow() != Hwnd() || ::GetFocus() != target) pendingFocus_ = target;
}

bool CDlg_Main::PreTranslateMessage(MSG& msg) {
    return SwitchPageByKey(msg) || Dialog::PreTranslateMessage(msg);
}

bool CDlg_Main::SwitchPageByKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || current_ == nullptr) return false;
    if (msg.hwnd != Hwnd() && !::IsChild(Hwnd(), msg.hwnd)) return false;
    PageKeyState press;
    switch (msg.wParam) {
    case VK_TAB: press.key = PageKey::Tab; break;
    case VK_NEXT: press.key = PageKey::PageDown; break;
    case VK_PRIOR: press.key = PageKey::PageUp; break;
    case VK_UP: press.key = PageKey::Up; break;
    case VK_DOWN: press.key = PageKey::Down; break;
    case VK_HOME: press.key = PageKey::Home; break;
    case VK_END: press.key = PageKey::End; break;
    default: break;
    }
    press.control = ::GetKeyState(VK_CONTROL) < 0;
    press.shift = ::GetKeyState(VK_SHIFT) < 0;
    for (const PageEntry& entry : entries_) press.inColumn = press.inColumn || entry.label.Hwnd() == msg.hwnd;
    const std::optional<PageId> page = PageForKey(current_->id, press);
    if (!page) return false;
    ShowPage(*EntryForPage(*page));
    // In the column the focus moves with the selection, as in a tab strip.
    pendingFocus_ = nullptr;
    if (press.inColumn)
        ::SendMessageA(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(current_->label.Hwnd()), TRUE);
    else
        FocusPageStart();
    return true;
}

}  // namespace hx::win
