// What the run watches throughout: that the utility's window answers, and what the process
// holds (memory, GDI and USER objects, handles).
//
// The window answers within 1 s: four times a second a harmless message (WM_NULL) is sent
// to it, and in the same moment, from another thread, to a reference window of another
// process (the desktop's). An answer over 1 s is excused when the reference took 250 ms or
// more too: the machine stalled, not the utility. The run fails on the second answer over
// 1 s that is not excused, or on one that never comes (10 s): a single slow answer under
// load does not fail it.
//
// What the process holds is read every few seconds. After a warm-up (a fifth of the run,
// 10 s at least) each figure is judged by its trend: it has grown when the median of the
// last three readings lies more than its bound above the median of the first three after
// the warm-up and the least-squares line through those readings rises by more than the
// bound as well, so that neither one high reading nor a slow wander fails the run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/win/common/ProcessProbe.h"
#include "tests/win/e2e_chaos/ChaosRun.h"

namespace hx::test::chaos {

class AnswerWatch {
public:
    AnswerWatch(ChaosRun& run, HWND main) : run_(run), main_(main) {}
    void Loop();
    std::string Figures() const;

private:
    ChaosRun& run_;
    HWND main_;
    int probes_ = 0, slow_ = 0, excused_ = 0;
    double worstMs_ = 0, worstReferenceMs_ = 0;
};

class ResourceWatch {
public:
    ResourceWatch(ChaosRun& run, DWORD processId, milliseconds every)
        : run_(run), probe_(processId), every_(every) {}

    // One reading now (the first is the figures at start).
    void Read();
    void Loop();
    // The readings judged; each figure that grew is a problem.
    void Judge();
    std::string Figures() const;

private:
    struct Reading {
        double at;  // s into the run
        ProcessFigures figures;
    };

    ChaosRun& run_;
    ProcessProbe probe_;
    milliseconds every_;
    std::vector<Reading> readings_;
    bool failed_ = false;
};

}  // namespace hx::test::chaos
