#include "framework/win32/Dialog.h"

#include "framework/win32/Control.h"
#include "framework/win32/Reflect.h"

namespace hx::win {
namespace {
HINSTANCE g_resourceModule = nullptr;
}

Dialog::~Dialog() {
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) {
        ::SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        ::DestroyWindow(hwnd_);
    }
}

HINSTANCE Dialog::ResourceModule() {
    return g_resourceModule ? g_resourceModule : ::GetModuleHandleA(nullptr);
}

void Dialog::SetResourceModule(HINSTANCE module) { g_resourceModule = module; }

Dialog* Dialog::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    if (::GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == 0) return nullptr;
    // Only our dialogs carry the object pointer in DWLP_USER, and only our dialog
    // procedure is installed on them.
    if (reinterpret_cast<DLGPROC>(::GetWindowLongPtrA(hwnd, DWLP_DLGPROC)) != &Dialog::DialogProc)
        return nullptr;
    return reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
}

HWND Dialog::Create(HWND parent) {
    endRequested_ = false;
    return ::CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(templateId_), parent,
                                &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::DoModal(HWND owner) {
    const bool ownerWasEnabled = owner != nullptr && ::IsWindowEnabled(owner);
    endRequested_ = false;
    modalResult_ = IDCANCEL;
    startingModal_ = true;
    const HWND created = Create(owner);
    startingModal_ = false;
    if (created == nullptr) return -1;
    if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
    const bool visible = (::GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    RunModalLoop(!visible);
    if (ownerWasEnabled) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
    return modalResult_;
}

void Dialog::RunModalLoop(bool showWhenIdle) {
    modalRunning_ = true;
    bool shown = !showWhenIdle;
    if (shown) OnFirstShown();
    MSG msg;
    while (!endRequested_) {
        // Idle: nothing waits but, at most, a timer. A timer that fell due while the dialog
        // was still being set up runs after the show, or whatever it hides would be shown
        // again after it.
        if (!shown && (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) || msg.message == WM_TIMER)) {
            ::ShowWindow(hwnd_, SW_SHOWNORMAL);
            ::UpdateWindow(hwnd_);
            shown = true;
            OnFirstShown();
        }
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) break;
        loopMessage_ = &msg;
        if (!PreTranslateMessage(msg) && !::IsDialogMessageA(hwnd_, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        loopMessage_ = nullptr;
        AfterOwnLoopMessage();
    }
    modalRunning_ = false;
}

bool Dialog::FromOwnLoop(UINT message, WPARAM wParam, LPARAM lParam) const {
    return loopMessage_ != nullptr && loopMessage_->message == message && loopMessage_->wParam == wParam &&
           loopMessage_->lParam == lParam;
}

bool Dialog::PreTranslateMessage(MSG& msg) {
    // Offer the message to the control objects from its window up to this dialog.
    for (HWND hwnd = msg.hwnd; hwnd != nullptr && hwnd != hwnd_; hwnd = ::GetParent(hwnd)) {
        if (Control* control = Control::FromHandle(hwnd)) {
            if (control->PreTranslateMessage(msg)) return true;
        }
        if (Dialog* dialog = FromHandle(hwnd); dialog != nullptr && dialog != this) {
            if (dialog->PreTranslateMessage(msg)) return true;
        }
    }
    return false;
}

void Dialog::EndDialog(INT_PTR result) {
    modalResult_ = result;
    endRequested_ = true;
    if (hwnd_ != nullptr) ::PostMessageA(hwnd_, WM_NULL, 0, 0);  // wake the loop
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr) return FALSE;
    const INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (ReflectToChild(hwnd_, message, wParam, lParam, reflected)) return reflected;
        break;
    case WM_COMMAND: {
        if (ReflectToChild(hwnd_, message, wParam, lParam, reflected)) return TRUE;
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (OnCommand(id, code, reinterpret_cast<HWND>(lParam))) return TRUE;
        if (lParam == 0 || code == BN_CLICKED) {
            if (id == IDOK) { OnOK(); return TRUE; }
            if (id == IDCANCEL) { OnCancel(); return TRUE; }
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        if (ReflectToChild(hwnd_, message, wParam, lParam, reflected)) {
            ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, reflected);
            return TRUE;
        }
        LRESULT result = 0;
        if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
            ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        break;
    }
    bool handled = false;
    const INT_PTR result = OnMessage(message, wParam, lParam, handled);
    if (!handled) return FALSE;
    switch (message) {
    // These few answer through the dialog procedure's own result...
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON:
        return result;
    // ...every other message through DWLP_MSGRESULT.
    default:
        ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

}  // namespace hx::win
