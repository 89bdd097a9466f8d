#include "app/Heartbeat.h"

#include <algorithm>

#include "app/TrayRule.h"

namespace hx {
namespace {

// An owed setting the adapter keeps refusing is applied again after 1, 2, 4, 8 and then
// every 16 ticks, not on every tick.
constexpr int kLongestOwedGap = 16;

}  // namespace

void Heartbeat::Start() {
    state_.pendingSurveyCountdown = kNoSurveyPending;
    hidePending_ = 1;
    state_.adapterReady = 0;
}

void Heartbeat::OnHideTimer() {
    shell_.HideMainWindow();
    hidePending_ = 0;
}

void Heartbeat::OnPollTick() {
    // A message box shown during a tick runs a modal loop that keeps dispatching timer
    // messages; a tick never starts inside another one.
    if (inTick_) return;
    inTick_ = true;

    if (hidePending_) {
        shell_.HideMainWindow();
        hidePending_ = 0;
    }
    if (AdapterFoundAndIdentified() && AdapterStillThere()) {
        adapter_.CheckZeroConfiguration();
        if (state_.wzcState == Wzc::ServiceControl) {
            Withdraw(TraySet::ZeroConfiguration);
        } else {
            ApplyOwedSetting();
            // A failed poll clears adapterReady; the icon still follows what was read and
            // the next tick looks for the adapter again.
            adapter_.PollLink();
            state_.linkReadAtJoin = state_.settingsApplied;
            if (notice_ && state_.adapterReady && state_.link.connectState == ConnectState::AuthenticationRefused)
                notice_->AuthenticationRefused(state_.link.ssid, state_.settingsApplied);
            shell_.ShowTraySet(TraySetForLink(state_.link));
            CountDownSurvey();
        }
    }
    state_.adapterLookedFor = true;
    appliedSeen_ = state_.settingsApplied;
    inTick_ = false;
}

// The adapter is back in our hands without the whole setting in force: found again while
// Windows' service held it and then given back, or an apply (identification's, the
// user's) cut short by a refused call. It rejoins the setting as it does at start, without
// the user applying it again. An apply made since the last tick is not repeated at once.
void Heartbeat::ApplyOwedSetting() {
    if (!state_.settingOwed || state_.settingsApplied != appliedSeen_) {
        owedGap_ = owedWait_ = 0;
        return;
    }
    if (owedWait_ > 0) {
        --owedWait_;
        return;
    }
    adapter_.ApplySetting();
    owedGap_ = std::min(std::max(owedGap_ * 2, 1), kLongestOwedGap);
    owedWait_ = owedGap_;
}

bool Heartbeat::AdapterFoundAndIdentified() {
    if (state_.adapterReady != 0) return true;
    adapter_.Discover();
    if (state_.adapterReady == 0) {
        Withdraw(TraySet::NoAdapter);
        return false;
    }
    if (!adapter_.Identify()) {
        state_.adapterReady = 0;
        Withdraw(TraySet::NoAdapter);
        return false;
    }
    return true;
}

bool Heartbeat::AdapterStillThere() {
    if (library_.QueryWL_DriverVersion(&state_.adapter) != -1) return true;
    state_.adapterReady = 0;
    Withdraw(TraySet::NoAdapter);
    return false;
}

void Heartbeat::CountDownSurvey() {
    int& countdown = state_.pendingSurveyCountdown;
    if (countdown > 0) {
        --countdown;
    } else if (countdown == 0) {
        shell_.CollectSiteSurvey();
        ++state_.surveysCollected;
        countdown = kNoSurveyPending;
    }
}

void Heartbeat::Withdraw(int traySet) {
    shell_.HideMainWindow();
    shell_.ShowTraySet(traySet);
}

}  // namespace hx
