// The accessible object of one of our own controls, handed to screen readers through
// WM_GETOBJECT. The system's own objects for the controls underneath (a static text, a
// progress bar) cannot tell what ours mean, and some systems give none at all, so the
// control answers for its client area itself and the object asks the control each time.
#pragma once

#include <windows.h>

#include "controls/AccessibleFacts.h"

namespace hx::win {

// What the object asks of its control.
class AccessibleSource {
public:
    virtual controls::AccessibleFacts Describe() const = 0;
    // Carries out the default action; false when the control has none.
    virtual bool DoDefaultAction() { return false; }

protected:
    ~AccessibleSource() = default;
};

// Made by a control for its window; the object is created at the first request and kept
// until the window goes, after which clients still holding it are told it is gone.
class AccessibleAnswer {
public:
    explicit AccessibleAnswer(AccessibleSource& source) : source_(source) {}
    ~AccessibleAnswer() { Disconnect(); }
    AccessibleAnswer(const AccessibleAnswer&) = delete;
    AccessibleAnswer& operator=(const AccessibleAnswer&) = delete;

    // Whether a WM_GETOBJECT request (its lParam) is for the client area, which we answer.
    static bool ForClientArea(LPARAM objectId);
    // The answer to a WM_GETOBJECT request for the client area of hwnd; 0 when the object
    // cannot be handed out.
    LRESULT Answer(HWND hwnd, WPARAM wParam);
    // The window is going: the object stops answering.
    void Disconnect();

private:
    class Object;
    AccessibleSource& source_;
    Object* object_ = nullptr;  // holds one reference while connected
};

}  // namespace hx::win
