#include "framework/win32/Control.h"

#include <commctrl.h>

#include "framework/win32/Reflect.h"

namespace hx::win {
namespace {
constexpr UINT_PTR kSubclassId = 0x4858;  // one subclass per control object
const char kControlProperty[] = "HxControlObject";
}  // namespace

Control::~Control() { Detach(); }

bool Control::Attach(HWND dialog, int id) {
    HWND hwnd = ::GetDlgItem(dialog, id);
    return hwnd != nullptr && AttachWindow(hwnd);
}

bool Control::AttachWindow(HWND hwnd) {
    if (hwnd == nullptr || hwnd_ != nullptr) return false;
    if (!::SetWindowSubclass(hwnd, &Control::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    hwnd_ = hwnd;
    ::SetPropA(hwnd, kControlProperty, this);
    OnAttached();
    return true;
}

void Control::Detach() {
    if (hwnd_ == nullptr) return;
    ::RemovePropA(hwnd_, kControlProperty);
    ::RemoveWindowSubclass(hwnd_, &Control::SubclassProc, kSubclassId);
    hwnd_ = nullptr;
}

Control* Control::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Control*>(::GetPropA(hwnd, kControlProperty)) : nullptr;
}

LRESULT Control::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT Control::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<Control*>(refData);
    if (message == WM_NCDESTROY) {
        const LRESULT result = self->WindowProc(message, wParam, lParam);
        self->Detach();
        return result;
    }
    return self->WindowProc(message, wParam, lParam);
}

bool ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    default:
        return false;
    }
    if (child == nullptr || Control::FromHandle(child) == nullptr || ::GetParent(child) != parent)
        return false;
    result = ::SendMessageA(child, kReflectBase + message, wParam, lParam);
    return result != 0;
}

}  // namespace hx::win
