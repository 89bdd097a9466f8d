// A thousand applies of random settings to VUVAVO.dll's simulated adapter, stored in the
// real registry: codes the adapter takes and codes it refuses, texts longer than their
// buffers, every key length. The application's key ends up with its "LastSetting" section
// and nothing else, and that section with no value an apply does not write.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>
#include <string>

#include "app/UtilityState.h"
#include "config/win32/RegistryAppProfile.h"
#include "config/LastSettingStore.h"
#include "config/SettingApplier.h"
#include "config/ValueTables.h"
#include "tests/fakes/RandomSetting.h"
#include "tests/win/supplicant/SimulatedWorld.h"

namespace hx::test {
namespace {

constexpr const char* kApplication = "HX stress apply";
constexpr const char* kApplicationKey = "Software\\Tessaro\\HX stress apply";

class CountingWorker final : public WorkerControl {
public:
    void StartWorker() override { active_ = true; }
    void StopWorker() override { active_ = false; }
    bool WorkerActive() const override { return active_; }

private:
    bool active_ = false;
};

struct KeyContents {
    DWORD subKeys = 0;
    DWORD values = 0;
    std::set<std::string> valueNames;
};

KeyContents Contents(const std::string& path) {
    KeyContents contents;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return contents;
    ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &contents.subKeys, nullptr, nullptr, &contents.values,
                       nullptr, nullptr, nullptr, nullptr);
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (::RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        contents.valueNames.insert(name);
    }
    ::RegCloseKey(key);
    return contents;
}

TEST(RegistryStress, AThousandAppliesWriteOnlyTheLastSettingsValues) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kApplicationKey);
    UtilityState state;
    InitialiseProcessState(state);
    ASSERT_TRUE(suptest::OpenAdapter(state.adapter));
    win::RegistryAppProfile profile("Tessaro", kApplication);
    LastSettingStore store(profile);
    CountingWorker worker;
    SettingApplier applier(ExportedAdapterLibrary(), state, store, worker);

    const std::set<std::string> allowed = AppliedValueNames();

    std::mt19937 random(20240611);
    int complete = 0;
    for (int n = 0; n < 1000; ++n) {
        RandomiseSetting(state.current, random);
        complete += applier.ApplySetting();
    }

    const KeyContents application = Contents(kApplicationKey);
    const KeyContents lastSetting = Contents(std::string(kApplicationKey) + "\\LastSetting");
    std::printf("registry after 1000 applies (%d complete): %lu values in LastSetting\n", complete,
                lastSetting.values);
    EXPECT_EQ(application.subKeys, 1u) << "only the LastSetting section";
    EXPECT_EQ(application.values, 0u);
    EXPECT_EQ(lastSetting.subKeys, 0u);
    EXPECT_LE(lastSetting.values, allowed.size());
    for (const std::string& name : lastSetting.valueNames) EXPECT_EQ(allowed.count(name), 1u) << name;
    EXPECT_GT(complete, 100);
    EXPECT_LE(store.ReadLastSettingString("SSID").size(), 32u);
    EXPECT_LE(store.ReadLastSettingString("DesiredRate").size(), 99u);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kApplicationKey);
}

}  // namespace
}  // namespace hx::test
