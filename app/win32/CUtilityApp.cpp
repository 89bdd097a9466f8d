#include "app/win32/CUtilityApp.h"

#include <commctrl.h>

#include <initializer_list>

#include "adapter/AdapterSession.h"
#include "app/ControlService.h"
#include "app/win32/CDlg_Main.h"
#include "app/win32/SingleInstance.h"
#include "framework/win32/Dialog.h"

namespace hx::win {

CUtilityApp& TheApp() {
    static CUtilityApp app;
    return app;
}

int CUtilityApp::Run(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    Dialog::SetResourceModule(instance);

    InitialiseProcessState(state_);
    InstanceClaim claim;
    if (!claim.Claim()) return 0;

    profile_ = std::make_unique<RegistryAppProfile>(kRegistryRoot, ApplicationNameFromModule(nullptr));
    state_.keyFormat = profile_->ReadInt("", kKeyFormatValue, 0);

    // The libraries are bound once the window has shown; until then the title says what the
    // adapter library beside the program announces.
    state_.libraries.adapter = AnnouncedAdapterLibrary();
    AdapterLibrary& library = libraries_.Adapter();
    lastSetting_ = std::make_unique<LastSettingStore>(*profile_);
    worker_ = std::make_unique<UtilityAuthWorker>(library, libraries_.Supplicant(), state_, *profile_);
    applier_ = std::make_unique<SettingApplier>(library, state_, *lastSetting_, *worker_);
    profiles_ = std::make_unique<ProfileStore>(*profile_);

    const PageContext pageContext{state_, library, *applier_, *worker_, *lastSetting_, *profiles_};
    for (Page* page : std::initializer_list<Page*>{&linkInfoPage_, &configPage_, &wepPage_, &sitePage_,
                                                   &profilePage_, &aboutPage_})
        page->UseContext(pageContext);

    CDlg_Main mainWindow(state_, library, *worker_,
                         {linkInfoPage_, configPage_, wepPage_, sitePage_, profilePage_, aboutPage_});
    // Identification reaches the pages through the main window.
    AdapterSession session(library, state_, *lastSetting_, *applier_, mainWindow);
    mainWindow.UseAdapterOperations(session);
    mainWindow.UseJoinFailureNotice(worker_->Notice());
    ControlService control({state_, library, *applier_, *worker_, *lastSetting_, *profiles_, mainWindow, mainWindow,
                            &worker_->Notice()});
    mainWindow.UseControlService(control);
    mainWindow.UseLibraryBinding([this] { state_.libraries = libraries_.Bind(); });
    mainWindow.DoModal(nullptr);
    return 0;
}

}  // namespace hx::win
