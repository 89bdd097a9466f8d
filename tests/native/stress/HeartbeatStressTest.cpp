// A hundred thousand heartbeat ticks of the core against the simulated adapter, a day of
// simulated time and more, with the world changing under it: unplugs and replugs, Zero
// Configuration taking over and letting go, the access point dropping the link, signals
// fading, calls failing, surveys started from the page and collected by the tick. Run
// under LeakSanitizer (the address-sanitizer build) nothing may be left unreachable at
// exit; in every build the heap in use may not grow once the first ticks have run.
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdio>
#include <random>
#include <string>

#include "adapter/AdapterSession.h"
#include "app/Heartbeat.h"
#include "config/MemoryAppProfile.h"
#include "pages/SiteSurveyModel.h"
#include "tests/native/sim/SimTestSupport.h"
#include "tests/native/stress/ProcessCounts.h"

// Under a sanitizer the heap is the sanitizer's allocator, which counts for itself.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define HX_SANITIZER_HEAP 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define HX_SANITIZER_HEAP 1
#endif
#ifdef HX_SANITIZER_HEAP
#include <sanitizer/allocator_interface.h>
#endif

namespace hx::stress {
namespace {

// Bytes of heap in use now, as the allocator in charge counts them.
size_t HeapInUse() {
#ifdef HX_SANITIZER_HEAP
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;  // in the arenas and in blocks of their own
#endif
}

class NoWorker final : public WorkerControl {
public:
    void StartWorker() override { active_ = true; }
    void StopWorker() override { active_ = false; }
    bool WorkerActive() const override { return active_; }

private:
    bool active_ = false;
};

class QuietSurveyView final : public SurveyView {
public:
    void EnableRefresh(bool) override {}
    void EnableConnect(bool) override {}
    void EnableList(bool) override {}
    void ShowRows(const std::vector<SurveyRow>& shown) override { rows = shown.size(); }
    void SelectRow(int) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
    void Tell(const std::string&) override {}
    size_t rows = 0;
};

// The window system as the heartbeat sees it, keeping counts instead of a log (a log
// would grow with every tick); surveys go to the real Site Survey page model.
class CountingShell final : public ShellPort {
public:
    void HideMainWindow() override { ++hides; }
    void ShowTraySet(int set) override { lastTraySet = set; }
    void ShowPage(PageId page) override { current = page; }
    bool IsCurrentPage(PageId page) const override { return page == current; }
    void ShowLinkStatus() override { ++linkShown; }
    void StartSiteSurvey() override {
        if (site) site->Refresh();
    }
    void CollectSiteSurvey() override {
        ++collected;
        if (site) site->FillList();
    }
    void FillTxRateList() override {}
    void SetDriverVersionText(const std::string&) override {}
    void SetMacAddressText(const std::string&) override {}

    SiteSurveyModel* site = nullptr;
    PageId current = PageId::LinkInfo;
    int lastTraySet = -1;
    long hides = 0, linkShown = 0, collected = 0;
};

TEST(HeartbeatStress, AHundredThousandTicksLeakNothing) {
    const int ticks = FromEnvironment("HX_STRESS_TICKS", 100000);
    const unsigned seed = static_cast<unsigned>(FromEnvironment("HX_STRESS_SEED", 20240611));
    hxsim::ResetWorld(true);

    AdapterLibrary& library = ExportedAdapterLibrary();
    UtilityState state;
    InitialiseProcessState(state);
    MemoryAppProfile profile;
    LastSettingStore store(profile);
    store.WriteLastSettingString("SSID", "WEP-Lab");
    store.WriteLastSettingInt("WEPStatus", WepStatus::Wep);
    store.WriteLastSettingInt("AuthenticationMode", AuthMode::AutoSwitch);
    store.WriteLastSettingString("WEPKey64_0", "12 34 56 78 90");
    NoWorker worker;
    CountingShell shell;
    SettingApplier applier(library, state, store, worker);
    AdapterSession session(library, state, store, applier, shell);
    QuietSurveyView view;
    SiteSurveyModel site(library, state, applier, worker, shell, view);
    shell.site = &site;
    Heartbeat heartbeat(state, shell, session, library);
    heartbeat.Start();
    heartbeat.OnHideTimer();

    const char* failing[] = {"QueryWL_ConnectState", "QueryWL_RSSI", "QueryWL_DriverVersion", "QueryWL_SSID",
                             "WL_RetrieveSiteSurveyData", "SetWL_SSID", "QueryWL_SupportChannel", "HxOpenAdapter"};
    std::mt19937 random(seed);
    size_t heapAfterWarmUp = 0;
    long readyTicks = 0, identifications = 0;
    int wasReady = 0;
    for (int tick = 0; tick < ticks; ++tick) {
        if (tick == 2000) heapAfterWarmUp = HeapInUse();
        switch (random() % 400) {
        case 0: hxsim::Control("unplug"); break;
        case 1: case 2: hxsim::Control("plug"); break;
        case 3: hxsim::Control("wzc 1"); break;
        case 4: case 5: hxsim::Control("wzc " + std::to_string(random() % 3 == 0 ? 2 : 0)); break;
        case 6: hxsim::Control("deauth"); break;
        case 7: hxsim::Control("signal WEP-Lab " + std::to_string(-40 - static_cast<int>(random() % 60))); break;
        case 8: hxsim::Control(std::string("fail ") + failing[random() % std::size(failing)] + " once"); break;
        case 9:
            if (state.pendingSurveyCountdown < 0 && state.adapterReady) site.Refresh();
            break;
        case 10:
            if (!site.Entries().empty()) site.Connect(static_cast<int>(random() % site.Entries().size()));
            break;
        default: break;
        }
        hxsim::AdvanceClock(1000);
        heartbeat.OnPollTick();
        readyTicks += state.adapterReady;
        if (state.adapterReady && !wasReady) ++identifications;
        wasReady = state.adapterReady;
    }
    const size_t heapAtEnd = HeapInUse();
    std::printf("heartbeat stress: %d ticks, %ld with the adapter ready, %ld identifications, %ld surveys "
                "collected, heap %zu -> %zu bytes\n",
                ticks, readyTicks, identifications, shell.collected, heapAfterWarmUp, heapAtEnd);

    EXPECT_GT(readyTicks, ticks / 2) << "most ticks had an adapter to poll";
    EXPECT_GT(identifications, 10) << "the adapter was lost and found again many times";
    EXPECT_GT(shell.collected, 10) << "surveys were collected";
    // The heap may move a little (a longer SSID, a fuller survey list), never grow with ticks.
    EXPECT_GT(heapAfterWarmUp, 0u) << "the heap in use could be read";
    EXPECT_LT(heapAtEnd, heapAfterWarmUp + 64 * 1024) << "memory grows with the ticks";
}

}  // namespace
}  // namespace hx::stress
