// What every page of the main window shares: a child dialog from its template, shown in
// the main window's page frame, painted on the common light page background, and able to
// reach the main window (to switch pages) and the other pages through the shell port.
#pragma once

#include <windows.h>

#include <optional>

#include "app/ShellPort.h"
#include "framework/win32/Dialog.h"
#include "pages/win32/PageContext.h"
#include "pages/win32/Palette.h"

namespace hx::win {

// Fills a window's client area with the page background (pages and the profile editor).
void PaintPageBackground(HWND hwnd, HDC dc);

class Page : public Dialog {
public:
    explicit Page(int templateId) : Dialog(templateId) {}

    // The main window hands itself over before it creates the page's window.
    void AttachShell(ShellPort& shell) { shell_ = &shell; }
    // The application hands over what the page acts on, before the page's window exists.
    void UseContext(const PageContext& context) { context_.emplace(context); }

protected:
    ShellPort* Shell() const { return shell_; }
    const PageContext* Context() const { return context_ ? &*context_ : nullptr; }

    // Enter and Escape belong to the main window, never to a page.
    void OnOK() override {}
    void OnCancel() override {}
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    ShellPort* shell_ = nullptr;
    std::optional<PageContext> context_;
};

}  // namespace hx::win
