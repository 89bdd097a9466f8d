// One heartbeat tick's worth of core work against the simulated adapter: the liveness
// check, the Zero Configuration check and the link poll.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "adapter/AdapterLibrary.h"
#include "adapter/AdapterSession.h"
#include "app/ShellPort.h"
#include "app/UtilityState.h"
#include "auth/WorkerControl.h"
#include "config/LastSettingStore.h"
#include "config/MemoryAppProfile.h"
#include "config/SettingApplier.h"

namespace {

class QuietShell : public hx::ShellPort {
public:
    void HideMainWindow() override {}
    void ShowTraySet(int) override {}
    void ShowPage(hx::PageId) override {}
    bool IsCurrentPage(hx::PageId page) const override { return page == hx::PageId::LinkInfo; }
    void ShowLinkStatus() override {}
    void StartSiteSurvey() override {}
    void CollectSiteSurvey() override {}
    void FillTxRateList() override {}
    void SetDriverVersionText(const std::string&) override {}
    void SetMacAddressText(const std::string&) override {}
};

class NoWorker : public hx::WorkerControl {
public:
    void StartWorker() override {}
    void StopWorker() override {}
    bool WorkerActive() const override { return false; }
};

void HeartbeatTick(benchmark::State& bench) {
    hx::AdapterLibrary& library = hx::ExportedAdapterLibrary();
    hx::UtilityState state;
    hx::InitialiseProcessState(state);
    hx::MemoryAppProfile profile;
    hx::LastSettingStore store(profile);
    NoWorker worker;
    QuietShell shell;
    hx::SettingApplier applier(library, state, store, worker);
    hx::AdapterSession session(library, state, store, applier, shell);

    session.Discover();
    if (state.adapterReady == 0 || !session.Identify()) {
        bench.SkipWithError("the simulated adapter was not found or not identified");
        return;
    }
    // Measure the associated path, which asks the most of the adapter. The apply of the
    // identification has just (re)started the association: poll until it is back.
    for (int wait = 0; wait < 100; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        session.PollLink();
        if (state.link.connectState == 0) break;
    }
    if (state.link.connectState != 0) {
        bench.SkipWithError("the simulated adapter did not associate");
        return;
    }
    for (auto _ : bench) {
        benchmark::DoNotOptimize(library.QueryWL_DriverVersion(&state.adapter));
        session.CheckZeroConfiguration();
        session.PollLink();
        benchmark::DoNotOptimize(state.link.signalStrength);
    }
    if (state.adapterReady == 0) bench.SkipWithError("a poll failed during the run");
    else if (state.link.connectState != 0) bench.SkipWithError("the link was lost during the run");
}
BENCHMARK(HeartbeatTick);

}  // namespace
