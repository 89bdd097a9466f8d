// The application object: start-up, the process-wide objects, the single-instance rule.
#pragma once

#include <windows.h>

#include <memory>

#include "app/UtilityState.h"
#include "app/win32/VendorLibraryBinding.h"
#include "config/win32/RegistryAppProfile.h"
#include "auth/win32/UtilityAuthWorker.h"
#include "config/LastSettingStore.h"
#include "config/ProfileStore.h"
#include "config/SettingApplier.h"
#include "pages/win32/CPage_About.h"
#include "pages/win32/CPage_Config.h"
#include "pages/win32/CPage_LinkInfo.h"
#include "pages/win32/CPage_Profile.h"
#include "pages/win32/CPage_Site.h"
#include "pages/win32/CPage_Wep.h"

namespace hx::win {

class CUtilityApp {
public:
    CUtilityApp() = default;

    // Runs the utility; returns when the main window has ended (or at once when another
    // instance is running). The result is the process exit code.
    int Run(HINSTANCE instance);

private:
    UtilityState state_;
    VendorLibraryBinding libraries_;
    std::unique_ptr<RegistryAppProfile> profile_;
    std::unique_ptr<LastSettingStore> lastSetting_;
    std::unique_ptr<UtilityAuthWorker> worker_;
    std::unique_ptr<SettingApplier> applier_;
    std::unique_ptr<ProfileStore> profiles_;
    // The six pages live for the whole run; the main window makes their windows.
    CPage_LinkInfo linkInfoPage_;
    CPage_Config configPage_;
    CPage_Wep wepPage_;
    CPage_Site sitePage_;
    CPage_Profile profilePage_;
    CPage_About aboutPage_;
};

// The one application object of the process.
CUtilityApp& TheApp();

}  // namespace hx::win
