// What the run watches throughout: that the utility's window answers, and what the process
// holds (memory, GDI and USER objects, handles).
//
// The window answers within 1 s: four times a second a harmless message (WM_NULL) is sent
// to it, and in the same moment, from another thread, to a reference window of another
// process (the desktop's); while an answer is still awaited after 250 ms that thread spins
// and measures the share of a core it gets. An answer over 1 s is excused when the reference
// took 250 ms or more too, or the spinning thread got less than half a core: the machine
// stalled, not the utility (on two cores shared by a dozen busy processes a thread with
// work to do gets a sixth of one, and a page's repaint takes seconds). The run fails on an answer over 5 s, or
// on the third answer over 1 s, not excused, within a minute: a single slow answer under
// load does not fail it, a window that keeps stalling does, however long the run.
//
// What the process holds is read every few seconds. After a warm-up (a fifth of the run,
// 10 s at least) each figure is judged by its trend: it has grown when the median of the
// last three readings lies more than its bound above the median of the first three after
// the warm-up and the least-squares line through those readings rises by more than the
// bound as well, so that neither one high reading nor a slow wander fails the run.
#pragma once

#include <windows.h>

#include <deque>
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
    std::deque<double> recentSlow_;  // when the last unexcused slow answers came, s into the run
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
