// The authentication worker started and stopped ten thousand times, at random moments of
// its run, against the simulated adapter and the real supplicant: before its thread has
// begun, in the link wait, while it reads the survey, while the key is derived, in the
// key negotiation, after it has ended by itself, started again while it runs. Nothing may
// hang (a watchdog aborts), no thread or descriptor may be left behind, every stop must
// be quick, the Zero Configuration service must run again at the end, and "Dot1xWPAIEs"
// must never be lost: once the worker has read the element, both the store and the
// current setting hold it, whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <random>
#include <thread>

#include "adapter/SurveyListRead.h"
#include "app/UtilityState.h"
#include "auth/AuthWorker.h"
#include "auth/SupplicantLibrary.h"
#include "config/MemoryAppProfile.h"
#include "tests/fakes/FolderPort.h"
#include "tests/fakes/ObservedAdapterLibrary.h"
#include "tests/native/sim/SimTestSupport.h"
#include "tests/native/stress/ProcessCounts.h"
#include "tests/native/supplicant/TempFolder.h"

namespace hx::stress {
namespace {

using namespace std::chrono_literals;
using hx::test::FolderPort;

// The registry is safe to use from two threads; the profile in memory is made so here.
class LockedProfile final : public AppProfile {
public:
    int ReadInt(std::string_view section, std::string_view entry, int defaultValue) override {
        std::lock_guard lock(mutex_);
        return memory_.ReadInt(section, entry, defaultValue);
    }
    std::string ReadString(std::string_view section, std::string_view entry,
                           std::string_view defaultValue) override {
        std::lock_guard lock(mutex_);
        return memory_.ReadString(section, entry, defaultValue);
    }
    bool WriteInt(std::string_view section, std::string_view entry, int value) override {
        std::lock_guard lock(mutex_);
        return memory_.WriteInt(section, entry, value);
    }
    bool WriteString(std::string_view section, std::string_view entry, std::string_view value) override {
        std::lock_guard lock(mutex_);
        return memory_.WriteString(section, entry, value);
    }
    bool DeleteValue(std::string_view section, std::string_view entry) override {
        std::lock_guard lock(mutex_);
        return memory_.DeleteValue(section, entry);
    }

private:
    std::mutex mutex_;
    MemoryAppProfile memory_;
};

class CountingMessages final : public WorkerMessagePort {
public:
    void ShowExclamation(const std::string&) override { ++shown; }
    std::atomic<int> shown{0};
};

// Aborts the test program when the cycle count stops moving: a deadlock shows as a
// failure with the cycle it happened in, not as a hung test run.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds patience) : thread_([this, patience] { Watch(patience); }) {}
    ~Watchdog() {
        done_.store(true);
        thread_.join();
    }
    void Progress(int cycle) { cycle_.store(cycle); }

private:
    void Watch(std::chrono::seconds patience) {
        int seen = -1;
        auto since = std::chrono::steady_clock::now();
        while (!done_.load()) {
            std::this_thread::sleep_for(100ms);
            const int now = cycle_.load();
            if (now != seen) {
                seen = now;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > patience) {
                std::fprintf(stderr, "worker stress: no progress for %lld s in cycle %d\n",
                             static_cast<long long>(patience.count()), now);
                std::abort();
            }
        }
    }
    std::atomic<bool> done_{false};
    std::atomic<int> cycle_{0};
    std::thread thread_;
};

bool ShowHas(const std::string& text) { return hxsim::Control("show").text.find(text) != std::string::npos; }

TEST(WorkerStress, TenThousandStartsAndStopsAtRandomMoments) {
    const int cycles = FromEnvironment("HX_STRESS_WORKER_CYCLES", 10000);
    const unsigned seed = static_cast<unsigned>(FromEnvironment("HX_STRESS_SEED", 20240611));
    std::printf("worker stress: %d cycles, seed %u\n", cycles, seed);

    hxsim::ResetWorld(simtest::DefaultWorldPlus("[timing]\nscan = 100\nscan-jitter = 0\n"), /*manualClock=*/false);
    UtilityState state;
    InitialiseProcessState(state);
    ASSERT_TRUE(simtest::OpenLikeTheUtility(state.adapter));
    const std::string ssid = "WPA-TKIP-Home";
    ASSERT_EQ(SetWL_AuthenticationMode(&state.adapter, AuthMode::WpaPsk), 0);
    ASSERT_EQ(SetWL_WEPStatus(&state.adapter, WepStatus::Tkip), 0);
    ASSERT_EQ(SetWL_SSID(&state.adapter, ssid.c_str(), static_cast<int>(ssid.size())), 0);
    for (int i = 0; i < 300 && (QueryWL_ConnectState(&state.adapter) != 0 || ShowHas("scanning")); ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(QueryWL_ConnectState(&state.adapter), 0);
    state.current.SSID = ssid;
    state.current.AuthenticationMode = AuthMode::WpaPsk;
    state.current.WEPStatus = WepStatus::Tkip;
    state.current.Dot1xPassphrase = "tkip-passphrase";

    // The worker's element conversions: once one has happened, the element was stored.
    const std::thread::id testThread = std::this_thread::get_id();
    std::atomic<int> elementsRead{0};
    test::ObservedAdapterLibrary library(ExportedAdapterLibrary(), [&](const char* call) {
        if (std::this_thread::get_id() != testThread && std::string_view(call) == "HexStrToBin") ++elementsRead;
    });
    LockedProfile profile;
    suptest::TempFolder folder;
    const auto previousFolder = std::filesystem::current_path();
    FolderPort directory(folder.path());
    CountingMessages messages;
    auto worker = std::make_unique<AuthWorker>(library, ExportedSupplicantLibrary(), state, profile, directory,
                                               messages, WorkerTiming{1ms});

    auto storedElement = [&] { return profile.ReadString(kLastSettingSection, kWpaElementValue, ""); };
    auto currentElement = [&] {
        std::lock_guard lock(state.currentSettingMutex);
        return state.current.Dot1xWPAIEs;
    };

    // One run to the key negotiation: the element every later run must find, and the
    // threads and descriptors of a process that has run a worker once.
    worker->StartWorker();
    for (int i = 0; i < 500 && elementsRead.load() == 0; ++i) std::this_thread::sleep_for(2ms);
    worker->StopWorker();
    const std::string element = storedElement();
    ASSERT_EQ(element.rfind("DD ", 0), 0u) << element;
    const int threadsBefore = ThreadCount();
    const int descriptorsBefore = OpenDescriptorCount();

    std::mt19937 random(seed);
    auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    int readsSinceCheck = elementsRead.load();
    auto slowestStop = 0us;
    int restarts = 0, endedByThemselves = 0, checkedWhole = 0;

    auto watchdog = std::make_unique<Watchdog>(30s);
    for (int cycle = 0; cycle < cycles; ++cycle) {
        watchdog->Progress(cycle);
        const bool active = worker->WorkerActive();
        if (!active) {
            // Now and then the element is forgotten, and the run made to end by itself.
            if (chance(30)) {
                profile.WriteString(kLastSettingSection, kWpaElementValue, "");
                std::lock_guard lock(state.currentSettingMutex);
                state.current.Dot1xWPAIEs.clear();
            }
            std::lock_guard lock(state.currentSettingMutex);
            state.current.WEPStatus = chance(5) ? WepStatus::Disabled : WepStatus::Tkip;
            if (chance(3)) {
                ++endedByThemselves;
                // Every read of the list fails, at each buffer size.
                ASSERT_TRUE(hxsim::Control("fail WL_RetrieveSiteSurveyData " + std::to_string(SurveyReadAttempts())).ok);
            }
        } else {
            ++restarts;
        }
        // The access point drops the link now and then (refused while there is none).
        if (cycle % 500 == 250) hxsim::Control("deauth");

        worker->StartWorker();
        // Where the worker is when it is stopped: not yet begun, waiting for the link or
        // reading the survey, deriving the key, or negotiating (a stop there waits for the
        // supplicant's step, so fewer of those).
        const int moment = static_cast<int>(random() % 100);
        const auto wait = moment < 35 ? 0us
                          : moment < 80 ? std::chrono::microseconds(random() % 2000)
                          : moment < 95 ? std::chrono::microseconds(2000 + random() % 4000)
                                        : std::chrono::microseconds(6000 + random() % 25000);
        const auto until = std::chrono::steady_clock::now() + wait;
        do {
            // The user interface meanwhile: copies the setting, asks the adapter.
            WlanSetting copy;
            {
                std::lock_guard lock(state.currentSettingMutex);
                copy = state.current;
            }
            EXPECT_TRUE(copy.Dot1xWPAIEs.empty() || copy.Dot1xWPAIEs == element) << copy.Dot1xWPAIEs;
            library.QueryWL_ConnectState(&state.adapter);
            std::this_thread::sleep_for(std::min<std::chrono::microseconds>(wait, 300us));
        } while (std::chrono::steady_clock::now() < until);

        if (chance(15)) continue;  // left running: the next cycle starts it again

        const auto stopStart = std::chrono::steady_clock::now();
        worker->StopWorker();
        const auto stopTook = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - stopStart);
        slowestStop = std::max(slowestStop, stopTook);
        ASSERT_FALSE(worker->WorkerActive());

        const int reads = elementsRead.load();
        const std::string stored = storedElement();
        const std::string current = currentElement();
        if (reads != readsSinceCheck) {
            ++checkedWhole;
            ASSERT_EQ(stored, element) << "cycle " << cycle << ": the element read is stored";
            ASSERT_EQ(current, element) << "cycle " << cycle << ": and it is in the current setting";
        } else {
            ASSERT_TRUE(stored.empty() || stored == element) << "cycle " << cycle << ": " << stored;
            ASSERT_TRUE(current.empty() || current == element) << "cycle " << cycle << ": " << current;
        }
        readsSinceCheck = reads;
    }
    worker->StopWorker();
    watchdog.reset();
    ASSERT_TRUE(hxsim::Control("fail clear").ok);
    std::filesystem::current_path(previousFolder);

    std::printf("worker stress: %d restarts while running, %d runs made to end early, %d element checks, "
                "slowest stop %lld us, threads %d -> %d, descriptors %d -> %d\n",
                restarts, endedByThemselves, checkedWhole, static_cast<long long>(slowestStop.count()),
                threadsBefore, ThreadCount(), descriptorsBefore, OpenDescriptorCount());
    EXPECT_LT(slowestStop, 1s) << "every stop returns within a second";
    EXPECT_EQ(ThreadCount(), threadsBefore) << "no worker thread is left";
    EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore) << "no descriptor is left open";
    EXPECT_TRUE(ShowHas("wzc.service: running")) << hxsim::Control("show").text;
    EXPECT_GT(checkedWhole, cycles / 50) << "enough runs got as far as the element";
    EXPECT_EQ(messages.shown.load(), 0);
}

}  // namespace
}  // namespace hx::stress
