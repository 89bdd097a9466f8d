// How long Stop worker takes, from the call to its return, while the worker waits for the
// link (with the real one-second poll interval) and while it runs the key negotiation
// (with supplicant steps that each block for a given time, as the real steps do when they
// have nothing to do). Each iteration starts a worker, lets it settle into that state,
// waits a random time within it and stops it; the counters give the median and the worst.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "app/UtilityState.h"
#include "auth/AuthWorker.h"
#include "config/MemoryAppProfile.h"
#include "tests/fakes/FakeAdapterLibrary.h"
#include "tests/fakes/FakeSupplicantLibrary.h"
#include "tests/native/worker/SurveyList.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class CountingDirectoryPort : public hx::ProgramDirectoryPort {
public:
    void EnterProgramDirectory() override { entered.fetch_add(1); }
    std::atomic<int> entered{0};
};

class SilentMessagePort : public hx::WorkerMessagePort {
public:
    void ShowExclamation(const std::string&) override {}
};

struct Rig {
    Rig() {
        hx::InitialiseProcessState(state);
        adapter.bssid = {0x00, 0x0C, 0x41, 0x11, 0x22, 0x33};
        // One record for the associated access point, with a WPA element.
        adapter.surveyData = hx::test::SurveyList({{adapter.bssid, hx::test::WpaElement(0x02)}});
        state.current.SSID = "HomeNet";
        state.current.AuthenticationMode = hx::AuthMode::WpaPsk;
        state.current.WEPStatus = hx::WepStatus::Tkip;
        state.current.Dot1xPassphrase = "correct horse";
    }
    hx::test::FakeAdapterLibrary adapter;
    hx::test::FakeSupplicantLibrary supplicant;
    hx::MemoryAppProfile profile;
    hx::UtilityState state;
    CountingDirectoryPort directory;
    SilentMessagePort messages;
};

void Report(benchmark::State& state, std::vector<double> latenciesMs) {
    std::sort(latenciesMs.begin(), latenciesMs.end());
    if (latenciesMs.empty()) return;
    state.counters["median_ms"] = latenciesMs[latenciesMs.size() / 2];
    state.counters["worst_ms"] = latenciesMs.back();
}

template <typename Predicate>
void WaitUntil(Predicate done) {
    while (!done()) std::this_thread::sleep_for(200us);
}

double StopAndTime(hx::AuthWorker& worker, benchmark::State& state) {
    const auto start = Clock::now();
    worker.StopWorker();
    const std::chrono::duration<double> took = Clock::now() - start;
    state.SetIterationTime(took.count());
    return took.count() * 1000.0;
}

void BM_StopWhileWaitingForTheLink(benchmark::State& state) {
    Rig rig;
    rig.adapter.connectState = 1;   // never associated: the worker sleeps in its link wait
    hx::AuthWorker worker(rig.adapter, rig.supplicant, rig.state, rig.profile, rig.directory,
                          rig.messages, hx::WorkerTiming{1000ms});
    std::mt19937 random(1);
    std::uniform_int_distribution<int> inside(1, 900);
    std::vector<double> latencies;
    for (auto _ : state) {
        const int entered = rig.directory.entered.load();
        worker.StartWorker();
        WaitUntil([&] { return rig.directory.entered.load() > entered; });
        std::this_thread::sleep_for(std::chrono::milliseconds(inside(random)) / 10);
        latencies.push_back(StopAndTime(worker, state));
    }
    Report(state, latencies);
}

void BM_StopDuringKeyNegotiation(benchmark::State& state) {
    Rig rig;
    rig.adapter.connectState = 0;
    const auto step = std::chrono::milliseconds(state.range(0));
    rig.supplicant.SetStepDelay(step);
    // The link is up throughout, so no sleep lies on the measured path; a short interval
    // only spares each iteration the first one-second wait before the negotiation starts.
    hx::AuthWorker worker(rig.adapter, rig.supplicant, rig.state, rig.profile, rig.directory,
                          rig.messages, hx::WorkerTiming{20ms});
    std::mt19937 random(2);
    std::uniform_int_distribution<int> inside(0, 99);
    std::vector<double> latencies;
    for (auto _ : state) {
        const int steps = rig.supplicant.CountOf("do_key_negotiation_run");
        worker.StartWorker();
        WaitUntil([&] { return rig.supplicant.CountOf("do_key_negotiation_run") > steps; });
        // Somewhere inside a step.
        std::this_thread::sleep_for(step * inside(random) / 100);
        latencies.push_back(StopAndTime(worker, state));
    }
    Report(state, latencies);
}

}  // namespace

BENCHMARK(BM_StopWhileWaitingForTheLink)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);
// Argument: how long one supplicant step blocks, in milliseconds.
BENCHMARK(BM_StopDuringKeyNegotiation)
    ->Arg(1)->Arg(10)->Arg(30)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
