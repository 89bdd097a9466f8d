#include "pages/win32/Page.h"

#include "framework/win32/Handles.h"
#include "controls/win32/SystemColours.h"

namespace hx::win {

void PaintPageBackground(HWND hwnd, HDC dc) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    UniqueBrush brush(::CreateSolidBrush(Resolve(controls::Surface::Page, kPageBackground)));
    ::FillRect(dc, &client, brush.Get());
}

INT_PTR Page::OnMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
    if (message != WM_ERASEBKGND) return 0;
    PaintPageBackground(Hwnd(), reinterpret_cast<HDC>(wParam));
    handled = true;
    return TRUE;
}

}  // namespace hx::win
