// What the pages work with besides their own windows: the process-wide state, the driver
// library, the stores and the apply operations. The application object hands them to the
// pages before the main window creates the page windows.
#pragma once

namespace hx {
class AdapterLibrary;
class LastSettingStore;
class ProfileStore;
class SettingApplier;
struct UtilityState;
}  // namespace hx

namespace hx::win {

struct PageServices {
    UtilityState& state;
    AdapterLibrary& library;
    LastSettingStore& lastSetting;
    ProfileStore& profiles;
    SettingApplier& applier;
};

}  // namespace hx::win
