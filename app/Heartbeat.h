// The main window's two timers as ordered steps: the one-shot hide shortly after start and
// the one-second tick that finds the adapter, checks it is still there, follows the Zero
// Configuration service, gives the adapter the setting it is owed, polls the link, picks
// the tray icon set and collects a pending site survey. The window forwards its timer
// messages here; everything it must do in return goes through the ShellPort.
#pragma once

#include "adapter/AdapterLibrary.h"
#include "app/AdapterOperations.h"
#include "app/ShellPort.h"
#include "app/UtilityState.h"
#include "auth/JoinFailureNotice.h"

namespace hx {

class Heartbeat {
public:
    Heartbeat(UtilityState& state, ShellPort& shell, AdapterOperations& adapter,
              AdapterLibrary& library)
        : state_(state), shell_(shell), adapter_(adapter), library_(library) {}

    // When the window is created: the window is to hide itself once, no adapter is ready,
    // no survey is pending.
    void Start();
    // The one-shot timer: hide the window.
    void OnHideTimer();
    // The one-second timer.
    void OnPollTick();

    bool HidePending() const { return hidePending_ != 0; }
    // Where a poll that finds the adapter's authentication refused is told.
    void TellRefusalsTo(JoinFailureNotice& notice) { notice_ = &notice; }

private:
    // Hide the window and show the tray icon set that says why it is hidden.
    void Withdraw(int traySet);
    bool AdapterFoundAndIdentified();
    bool AdapterStillThere();
    void ApplyOwedSetting();
    void CountDownSurvey();

    UtilityState& state_;
    ShellPort& shell_;
    AdapterOperations& adapter_;
    AdapterLibrary& library_;
    JoinFailureNotice* notice_ = nullptr;
    int hidePending_ = 0;
    bool inTick_ = false;
    unsigned long appliedSeen_ = 0;  // settingsApplied when the last tick ended
    int owedGap_ = 0, owedWait_ = 0;  // ticks between applies of an owed setting, and left now
};

}  // namespace hx
