// A dialog from a resource template, modal (with our own message loop, so controls get a
// pre-translation step) or as a child page. Colour requests and notifications from child
// controls are first offered back to the control objects bound to them.
#pragma once

#include <windows.h>

namespace hx::win {

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally over owner; returns the code given to EndDialog. A template
    // that is not initially visible is shown when the message queue is first idle.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog as a modeless window (a child page when the template says so).
    HWND Create(HWND parent);
    void EndDialog(INT_PTR result);
    bool IsModalRunning() const { return modalRunning_; }
    // True while DoModal creates the window (during WM_INITDIALOG): OnFirstShown follows.
    bool StartingModal() const { return startingModal_; }
    // Whether the message being handled was handed out by this dialog's own modal loop, and
    // not by a loop nested in its handling (a message box, a menu, another dialog): only
    // then is the window not in the middle of something else.
    bool FromOwnLoop(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND Hwnd() const { return hwnd_; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    int TemplateId() const { return templateId_; }

    static Dialog* FromHandle(HWND hwnd);
    // The module that holds the templates and other resources (the executable).
    static HINSTANCE ResourceModule();
    static void SetResourceModule(HINSTANCE module);

protected:
    // WM_INITDIALOG; return TRUE to let the system set the default focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // WM_COMMAND from a control or menu; true when handled.
    virtual bool OnCommand(int id, int code, HWND control) { return false; }
    // WM_NOTIFY; true when handled, with the answer in result.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result) { return false; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnDestroy() {}
    // Every other message; set handled to true to answer it with the return value.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
        return 0;
    }
    // Messages for this dialog or its children, before dispatch; true consumes them.
    virtual bool PreTranslateMessage(MSG& msg);
    // Once, when the modal loop has first shown the window (at once for a template that is
    // visible): what the first sight of the window does not need can wait until here.
    virtual void OnFirstShown() {}
    // After each message of this dialog's own modal loop, when no loop nested in its
    // handling runs any longer.
    virtual void AfterOwnLoopMessage() {}

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RunModalLoop(bool showWhenIdle);

    int templateId_;
    HWND hwnd_ = nullptr;
    bool modalRunning_ = false;
    bool endRequested_ = false;
    bool startingModal_ = false;
    INT_PTR modalResult_ = IDCANCEL;
    const MSG* loopMessage_ = nullptr;  // what the own modal loop hands out now
};

}  // namespace hx::win
