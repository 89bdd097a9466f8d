#include "app/win32/CUtilityApp.h"

#include <commctrl.h>

#include "app/win32/CDlg_Main.h"
#include "app/win32/framework/Dialog.h"
#include "auth/WorkerControl.h"

namespace hx::win {
namespace {

// Stands in for the authentication worker until it is part of the utility: never running.
class IdleWorker : public WorkerControl {
public:
    void StartWorker() override {}
    void StopWorker() override {}
    bool WorkerActive() const override { return false; }
};

}  // namespace

CUtilityApp& TheApp() {
    static CUtilityApp app;
    return app;
}

bool ActivateRunningInstance() {
    HWND running = ::FindWindowA(nullptr, kMainWindowTitle);
    if (running == nullptr) return false;
    ::ShowWindow(running, SW_SHOW);
    ::BringWindowToTop(running);
    ::SetForegroundWindow(running);
    return true;
}

int CUtilityApp::Run(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    Dialog::SetResourceModule(instance);

    InitialiseProcessState(state_);
    if (ActivateRunningInstance()) return 0;

    profile_ = std::make_unique<RegistryAppProfile>(kRegistryRoot, ApplicationNameFromModule(nullptr));
    state_.keyFormat = profile_->GetProfileInt("", kKeyFormatValue, 0);

    IdleWorker worker;
    CDlg_Main mainWindow(state_, ExportedAdapterLibrary(), worker,
                         {linkInfoPage_, configPage_, wepPage_, sitePage_, profilePage_, aboutPage_});
    mainWindow.DoModal(nullptr);
    return 0;
}

}  // namespace hx::win
