// A control window from a dialog template, given behaviour by subclassing. The parent
// dialog reflects colour requests and notifications back to it (Reflect.h), so the control
// can answer them itself.
#pragma once

#include <windows.h>

namespace hx::win {

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Binds the object to the dialog item with this id; false when there is no such item.
    bool Attach(HWND dialog, int id);
    // Binds the object to a window it did not create.
    bool AttachWindow(HWND hwnd);
    void Detach();

    HWND Hwnd() const { return hwnd_; }
    int Id() const { return hwnd_ ? ::GetDlgCtrlID(hwnd_) : 0; }

    // The control object bound to a window, or null.
    static Control* FromHandle(HWND hwnd);

    // Called by the modal loop for messages addressed to this control before they are
    // dispatched; true consumes the message.
    virtual bool PreTranslateMessage(MSG& msg) { return false; }

protected:
    // Called once the window is bound.
    virtual void OnAttached() {}
    // The control's own message handling; the default passes the message on.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    HWND hwnd_ = nullptr;
};

}  // namespace hx::win
