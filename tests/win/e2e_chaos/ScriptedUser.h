// The scripted user of the run: one who drives the running utility with hxctl (status,
// scan, connect with the right key, profile save, load and delete), one request at a time
// as a script would, and one who works its window (opens it, closes it, switches pages)
// and answers the dialogs it shows.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <map>
#include <set>
#include <string>

#include "tests/win/common/ConsoleProgram.h"
#include "tests/win/e2e_chaos/ChaosRun.h"
#include "tests/win/e2e_chaos/RegistryModel.h"

namespace hx::test::chaos {

class HxctlUser {
public:
    HxctlUser(ChaosRun& run, RegistryModel& registry) : run_(run), registry_(registry), random_(run.Generator(2)) {}

    // Requests until the run stops; after each, the registry holds only what the requests caused.
    void Loop();
    // With the faults stopped: the last connect once more, which must succeed and hold.
    void LastConnectHolds(std::chrono::seconds hold);
    // The network of the last setting applied, by a connect or a profile load; null when
    // that setting names none of the world's.
    const Network* LastApplied() const { return lastApplied_; }
    // Whether the join of that setting ended with the worker giving up (no keys): by design a
    // worker that ends by itself is not started again, so that link does not come back by
    // itself.
    bool LastJoinGaveUp() const { return lastJoinGaveUp_; }
    // The longest a request of each verb took, in seconds, as "verb: s" lines.
    std::string Slowest() const;

private:
    // One hxctl run, counted by verb and outcome; an exit status outside `expected`, or a
    // run that does not end, is a problem.
    ConsoleRun Request(const std::string& verb, const std::string& arguments, std::initializer_list<DWORD> expected,
                       const std::string& input = "");
    ConsoleRun Connect(const Network& network, int waitSeconds);
    void CheckRegistry();

    ChaosRun& run_;
    RegistryModel& registry_;
    std::mt19937_64 random_;
    const Network* lastConnect_ = nullptr;
    const Network* lastApplied_ = nullptr;
    bool lastJoinGaveUp_ = false;
    int nextProfile_ = 1;
    std::map<std::string, double> slowest_;
    std::set<std::string> reported_;  // registry findings told once
};

class WindowUser {
public:
    WindowUser(ChaosRun& run, HWND main, DWORD processId)
        : run_(run), main_(main), processId_(processId), random_(run.Generator(3)) {}

    // Opens the window, shows every page twice and closes it again: what the pages make
    // when first shown is made before the run counts what the utility holds.
    void Tour();
    // Opens, closes and switches pages until the run stops.
    void Loop();
    // Answers every dialog the utility shows now, as a user who read it: OK, or Cancel, or No.
    void AnswerDialogs();

private:
    ChaosRun& run_;
    HWND main_;
    DWORD processId_;
    std::mt19937_64 random_;
};

}  // namespace hx::test::chaos
