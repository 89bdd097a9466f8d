// A thousand applies of random settings to the simulated adapter: codes it takes and codes
// it refuses, SSIDs and rate and key texts longer than their buffers, every key length.
// Whatever is applied, the store holds only the values an apply writes, no text longer
// than its buffer allows, and the worker runs exactly after a complete WPA apply.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>

#include "config/MemoryAppProfile.h"
#include "config/SettingApplier.h"
#include "config/ValueTables.h"
#include "tests/fakes/RandomSetting.h"
#include "tests/native/sim/SimTestSupport.h"
#include "tests/native/stress/ProcessCounts.h"

namespace hx::stress {
namespace {

class CountingWorker final : public WorkerControl {
public:
    void StartWorker() override {
        ++starts;
        active_ = true;
    }
    void StopWorker() override { active_ = false; }
    bool WorkerActive() const override { return active_; }
    int starts = 0;

private:
    bool active_ = false;
};

TEST(ApplyStress, AThousandAppliesStoreOnlyTheAppliedValues) {
    const int applies = FromEnvironment("HX_STRESS_APPLIES", 1000);
    const unsigned seed = static_cast<unsigned>(FromEnvironment("HX_STRESS_SEED", 20240611));
    hxsim::ResetWorld(true);
    UtilityState state;
    InitialiseProcessState(state);
    ASSERT_TRUE(simtest::OpenLikeTheUtility(state.adapter));
    MemoryAppProfile profile;
    LastSettingStore store(profile);
    CountingWorker worker;
    SettingApplier applier(ExportedAdapterLibrary(), state, store, worker);

    const std::set<std::string> allowed = test::AppliedValueNames();

    std::mt19937 random(seed);
    int complete = 0;
    for (int n = 0; n < applies; ++n) {
        test::RandomiseSetting(state.current, random);
        const WlanSetting& s = state.current;

        const int startsBefore = worker.starts;
        const int result = applier.ApplySetting();
        complete += result;
        const bool wpa = AuthMode::RunsWorker(s.AuthenticationMode);
        ASSERT_EQ(worker.starts - startsBefore, result == 1 && wpa ? 1 : 0) << "apply " << n;
        ASSERT_EQ(worker.WorkerActive(), result == 1 && wpa);
        hxsim::AdvanceClock(500);
    }

    std::set<std::string> stored;
    for (const std::string& name : allowed)
        if (profile.Find(kLastSettingSection, name) != nullptr) stored.insert(name);
    std::printf("apply stress: %d applies, %d complete, %zu values stored\n", applies, complete, profile.ValueCount());
    EXPECT_EQ(profile.ValueCount(), stored.size()) << "every stored value is one an apply writes";
    EXPECT_GT(complete, applies / 10);
    EXPECT_LT(complete, applies) << "refused codes ended some applies";

    auto text = [&](const std::string& name) {
        const auto* value = profile.Find(kLastSettingSection, name);
        return value != nullptr && std::holds_alternative<std::string>(*value) ? std::get<std::string>(*value) : "";
    };
    EXPECT_LE(text("SSID").size(), 32u);
    EXPECT_LE(text("DesiredRate").size(), 99u);
    for (int bits : {64, 128, 256})
        for (int i = 0; i < 4; ++i) EXPECT_LE(text(WepKeyValueName(bits, i)).size(), 99u);
}

}  // namespace
}  // namespace hx::stress
