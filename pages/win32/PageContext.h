// What the pages work with besides the main window: the process state, the driver library,
// the apply operations, the authentication worker and the two stores. The application object hands it to
// every page before the main window creates them; a page without it shows its controls
// but acts on nothing.
#pragma once

#include "adapter/AdapterLibrary.h"
#include "app/UtilityState.h"
#include "auth/WorkerControl.h"
#include "config/LastSettingStore.h"
#include "config/ProfileStore.h"
#include "config/SettingApplier.h"

namespace hx::win {

struct PageContext {
    UtilityState& state;
    AdapterLibrary& library;
    SettingApplier& applier;
    WorkerControl& worker;
    LastSettingStore& lastSetting;
    ProfileStore& profiles;
};

}  // namespace hx::win
