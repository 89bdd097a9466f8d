// The faults of the run, fired at the simulated adapter at random: library calls that
// fail, the adapter pulled out and plugged in again, a deauthentication, a group key
// renewal, the region changed from outside, Zero Configuration taking the adapter and
// giving it back, an access point fading away and coming back. A fault that lasts is
// undone after a while; when the run stops, every fault still in effect is undone at once.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "tests/win/e2e_chaos/ChaosRun.h"

namespace hx::test::chaos {

class FaultMaker {
public:
    explicit FaultMaker(ChaosRun& run) : run_(run), random_(run.Generator(1)) {}

    // Fires faults until the run stops.
    void Loop();
    // Undoes every fault still in effect, and no call fails any more.
    void UndoAll();

private:
    struct Undo {
        Clock::time_point at;
        std::string kind;     // the fault it ends; done with the last of its steps
        std::string command;
        bool last;
    };

    void Fire();
    // Sends a fault's command and counts it under its kind; true when the adapter took it.
    bool Send(const std::string& kind, const std::string& command);
    void Later(const std::string& kind, milliseconds after, const std::string& command, bool last = true);
    void DueUndos(bool all);

    ChaosRun& run_;
    std::mt19937_64 random_;
    std::vector<Undo> undos_;
    std::set<std::string> lasting_;  // the kinds in effect now
};

}  // namespace hx::test::chaos
