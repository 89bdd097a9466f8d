// The one simulated world of the process, behind the library's exports. Every export
// takes the world's lock, so the utility may call the library from two threads.
//
// The world is made on first use: from the scenario file named by the environment
// variable HXSIM_SCENARIO when it is set (and readable), otherwise the embedded default
// world; it runs on the steady clock, and records the air into the pcap file HXSIM_CAPTURE
// names, when it names one. Native tests replace it between cases.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "sim/core/Clock.h"
#include "sim/core/ControlCommands.h"
#include "sim/core/Scenario.h"
#include "sim/core/World.h"

namespace hxsim {

class SimulatorHost {
public:
    static SimulatorHost& Instance();

    std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex_); }
    // The world, brought up to the clock; call with the lock held.
    World& SyncedWorld();
    std::condition_variable& FrameArrived() { return frameArrived_; }

    // Replaces the world. With manualClock the world's time moves only by AdvanceClock.
    void Reset(const Scenario& scenario, bool manualClock);
    void AdvanceClock(Millis delta);
    // Why the scenario file was not used, if it was not.
    std::string ScenarioError();
    // The state report and recent events of the world, or empty when none was made. For the
    // end of the process: it does not wait for a lock that another (ended) thread may hold.
    std::string FinalReport();

private:
    SimulatorHost() = default;
    void EnsureWorld();

    std::mutex mutex_;
    std::condition_variable frameArrived_;
    std::shared_ptr<Clock> clock_;
    std::shared_ptr<ManualClock> manualClock_;
    std::unique_ptr<World> world_;
    std::string scenarioError_;
};

// The state report and the recent events of a world: what the exit report holds.
std::string WorldReport(World& world);
// Writes the world's report into the file HXSIM_EXIT_REPORT names, when it names one; for
// moments after which the program may be ended from outside. Call with the lock held.
void RefreshExitReport(World& world);

// --- For native tests and tools linking the export layer directly -----------------------
// A fresh world from the scenario (the default world when none is given).
void ResetWorld(bool manualClock = true);
void ResetWorld(const Scenario& scenario, bool manualClock = true);
// Moves the manual clock on (and runs what falls due).
void AdvanceClock(Millis delta);
// Runs a control command on the world.
ControlReply Control(const std::string& line);
// Runs f(World&) under the world's lock.
template <typename F>
auto WithWorld(F&& f) {
    SimulatorHost& host = SimulatorHost::Instance();
    auto lock = host.Lock();
    return f(host.SyncedWorld());
}

}  // namespace hxsim
