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
#include "app/win32/RegistryAppProfile.h"
#include "config/LastSettingStore.h"
#include "config/SettingApplier.h"
#include "config/ValueTables.h"
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

std::string RandomText(std::mt19937& random, size_t longest, const std::string& alphabet) {
    std::string text(random() % (longest + 1), ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    return text;
}

int Code(std::mt19937& random, int low, int high) {
    if (random() % 10 == 0) return static_cast<int>(random() % 40) - 10;
    return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
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

    std::set<std::string> allowed{"NetworkType", "AuthenticationMode", "Channel", "DesiredRate", "SSID",
                                  "PreambleMode", "PowerSaveMode", "Domain", "WEPStatus", "WEPKeyLength",
                                  "WEPDefaultKeyId"};
    for (int bits : {64, 128, 256})
        for (int i = 0; i < 4; ++i) allowed.insert(WepKeyValueName(bits, i));
    const int regions[] = {0x00, 0x10, 0x20, 0x30, 0x31, 0x32, 0x40, 0x50, 0x99};
    const int statuses[] = {0, 1, 4, 6, 5};
    const std::string hex = "0123456789ABCDEF ";

    std::mt19937 random(20240611);
    int complete = 0;
    for (int n = 0; n < 1000; ++n) {
        WlanSetting& s = state.current;
        s.NetworkType = Code(random, 0, 1);
        s.Channel = Code(random, 1, 14);
        s.AuthenticationMode = Code(random, 0, 4);
        s.WEPStatus = statuses[random() % std::size(statuses)];
        s.WEPKeyLength = std::array<int, 3>{64, 128, 256}[random() % 3];
        s.WEPDefaultKeyId = Code(random, 0, 3);
        for (auto& key : s.WEPKey) key = RandomText(random, 120, hex);
        s.DesiredRate = random() % 4 == 0 ? RandomText(random, 140, hex) : kDefaultDesiredRate;
        s.SSID = RandomText(random, 48, "abcdefghijklmnopqrstuvwxyz-");
        s.PreambleMode = Code(random, 0, 2);
        s.PowerSaveMode = Code(random, 0, 2);
        s.Domain = regions[random() % std::size(regions)];
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
