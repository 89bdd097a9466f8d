// What every page of the main window shares: a child dialog from its template, shown in
// the main window's page frame, painted on the common light page background, and able to
// reach the main window (to switch pages) and the other pages through the shell port.
#pragma once

#include <windows.h>

#include "app/ShellPort.h"
#include "app/win32/framework/Dialog.h"

namespace hx::win {

// The background of every page: red 255, green 255, blue 240.
inline constexpr COLORREF kPageBackground = RGB(255, 255, 240);

// Fills a window's client area with the page background (pages and the profile editor).
void PaintPageBackground(HWND hwnd, HDC dc);

class Page : public Dialog {
public:
    explicit Page(int templateId) : Dialog(templateId) {}

    // The main window hands itself over before it creates the page's window.
    void AttachShell(ShellPort& shell) { shell_ = &shell; }

protected:
    ShellPort* Shell() const { return shell_; }

    // Enter and Escape belong to the main window, never to a page.
    void OnOK() override {}
    void OnCancel() override {}
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    ShellPort* shell_ = nullptr;
};

}  // namespace hx::win
