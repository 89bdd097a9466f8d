// A whole setting applied through the apply operations lands in "LastSetting\" with the
// value names and types that stored registries of earlier versions rely on, and loads back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/UtilityState.h"
#include "config/win32/RegistryAppProfile.h"
#include "auth/WorkerControl.h"
#include "config/LastSettingStore.h"
#include "config/SettingApplier.h"
#include "tests/fakes/FakeAdapterLibrary.h"

namespace hx::win {
namespace {

class IdleWorker : public WorkerControl {
public:
    void StartWorker() override { ++starts; }
    void StopWorker() override {}
    bool WorkerActive() const override { return false; }
    int starts = 0;
};

TEST(AppliedLayout, EveryValueUnderItsNameWithItsType) {
    const std::string app = "HxAppliedLayout" + std::to_string(::GetCurrentProcessId());
    const std::string section = "Software\\Tessaro\\" + app + "\\LastSetting";
    ::RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Tessaro\\" + app).c_str());

    RegistryAppProfile profile("Tessaro", app);
    LastSettingStore store(profile);
    test::FakeAdapterLibrary library;
    UtilityState state;
    IdleWorker worker;
    SettingApplier applier(library, state, store, worker);

    WlanSetting& s = state.current;
    s.SSID = "corp";
    s.Channel = 9;
    s.NetworkType = 0;
    s.DesiredRate = "16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    s.AuthenticationMode = 1;
    s.WEPStatus = 0;
    s.WEPKeyLength = 128;
    s.WEPDefaultKeyId = 2;
    s.WEPKey = {"00 01 02 03 04 05 06 07 08 09 0A 0B 0C", "10 11 12 13 14 15 16 17 18 19 1A 1B 1C",
                "20 21 22 23 24 25 26 27 28 29 2A 2B 2C", "30 31 32 33 34 35 36 37 38 39 3A 3B 3C"};
    s.PreambleMode = 1;
    s.PowerSaveMode = 2;
    s.Domain = 0x40;
    ASSERT_EQ(applier.ApplySetting(), 1);

    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, section.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    auto type = [&](const char* name) {
        DWORD t = REG_NONE;
        if (::RegQueryValueExA(key, name, nullptr, &t, nullptr, nullptr) != ERROR_SUCCESS) return DWORD{REG_NONE};
        return t;
    };
    for (const char* name : {"NetworkType", "AuthenticationMode", "Channel", "PreambleMode", "PowerSaveMode",
                             "Domain", "WEPStatus", "WEPKeyLength", "WEPDefaultKeyId"})
        EXPECT_EQ(type(name), static_cast<DWORD>(REG_DWORD)) << name;
    for (const char* name : {"DesiredRate", "SSID", "WEPKey128_0", "WEPKey128_1", "WEPKey128_2", "WEPKey128_3"})
        EXPECT_EQ(type(name), static_cast<DWORD>(REG_SZ)) << name;
    DWORD values = 0;
    ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr);
    EXPECT_EQ(values, 15u) << "nothing else is written";
    ::RegCloseKey(key);

    // The next start loads what was applied.
    WlanSetting loaded;
    store.LoadLastSetting(loaded);
    EXPECT_EQ(loaded, s);

    ::RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Tessaro\\" + app).c_str());
}

}  // namespace
}  // namespace hx::win
