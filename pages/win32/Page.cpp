#include "pages/win32/Page.h"

#include "app/win32/framework/Handles.h"

namespace hx::win {

INT_PTR Page::OnMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
    if (message != WM_ERASEBKGND) return 0;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    UniqueBrush brush(::CreateSolidBrush(kPageBackground));
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush.Get());
    handled = true;
    return TRUE;
}

}  // namespace hx::win
