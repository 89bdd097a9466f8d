#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "trayicon/TrayPresence.h"

namespace hx {
namespace {

// A shell that answers from a script and notes what it was asked: "+" add, "~" modify,
// "-" delete, with "!" after a refused request.
struct ScriptedShell {
    bool holdsIcon = false;
    bool running = true;
    std::string log;
    TrayPresence::Send send = [this](TrayRequest request) {
        bool accepted = false;
        switch (request) {
        case TrayRequest::Add: log += "+"; accepted = running && !holdsIcon; break;
        case TrayRequest::Modify: log += "~"; accepted = running && holdsIcon; break;
        case TrayRequest::Delete: log += "-"; accepted = running && holdsIcon; holdsIcon = false; break;
        }
        if (request == TrayRequest::Add && accepted) holdsIcon = true;
        if (!accepted) log += "!";
        log += " ";
        return accepted;
    };
};

TEST(TrayPresence, FollowsTheShellThroughFailuresRestartsAndRemoval) {
    ScriptedShell shell;
    TrayPresence tray;
    enum Do { Show, Restart, Remove };
    struct Step {
        const char* what;
        Do action;
        bool running;         // whether the taskbar runs during the step
        bool dropsIcon;       // the taskbar lost the icon before the step
        const char* requests;
        bool present;
    };
    const Step steps[] = {
        {"a restart before any show adds nothing", Restart, true, false, "", false},
        {"taskbar not running yet at start", Show, false, false, "+! ~! ", false},
        {"still not running on the next tick", Show, false, false, "+! ~! ", false},
        {"the tick after it started adds", Show, true, false, "+ ", true},
        {"later ticks modify", Show, true, false, "~ ", true},
        {"taskbar ended: the modify is refused", Show, false, true, "~! +! ", false},
        {"taskbar back: the restart adds at once", Restart, true, false, "+ ", true},
        {"and ticks modify again", Show, true, false, "~ ", true},
        {"a restart whose tick already added", Restart, true, false, "+! ~ ", true},
        {"icon lost without a restart message", Show, true, true, "~! + ", true},
        {"removal deletes", Remove, true, false, "- ", false},
        {"a restart after removal adds nothing", Restart, true, false, "", false},
        {"a second removal deletes nothing", Remove, true, false, "", false},
    };
    for (const Step& step : steps) {
        shell.running = step.running;
        if (step.dropsIcon) shell.holdsIcon = false;
        shell.log.clear();
        switch (step.action) {
        case Show: tray.Show(shell.send); break;
        case Restart: if (tray.ShellRestarted()) tray.Show(shell.send); break;
        case Remove: tray.Remove(shell.send); break;
        }
        EXPECT_EQ(shell.log, step.requests) << step.what;
        EXPECT_EQ(tray.Present(), step.present) << step.what;
    }
}

TEST(TrayPresence, ARemovalAfterRefusedShowsStillAsksForTheDelete) {
    // The shell may hold the icon although it answered no (a busy shell times out).
    ScriptedShell shell;
    shell.running = false;
    TrayPresence tray;
    tray.Show(shell.send);
    shell.log.clear();
    tray.Remove(shell.send);
    EXPECT_EQ(shell.log, "-! ");
}

}  // namespace
}  // namespace hx
