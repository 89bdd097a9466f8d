#include "auth/JoinFailureNotice.h"

#include <utility>

#include "auth/KeyInstaller.h"
#include "config/ShownText.h"

namespace hx {

std::string JoinFailureText(const std::string& ssid) {
    return "Could not join " + ShownText(ssid) + ": the key or password may be wrong.";
}

JoinFailureNotice::JoinFailureNotice(Clock clock) : clock_(std::move(clock)) {}

void JoinFailureNotice::OnNoticeWaiting(std::function<void()> wake) {
    std::lock_guard lock(mutex_);
    wake_ = std::move(wake);
}

std::optional<std::string> JoinFailureNotice::TakeNotice() {
    std::lock_guard lock(mutex_);
    return std::exchange(waiting_, std::nullopt);
}

JoinTally JoinFailureNotice::Tally() {
    std::lock_guard lock(mutex_);
    JoinTally tally;
    tally.pairwiseKey = running_ && PairwiseKeysInstalled() != pairwiseAtStart_;
    tally.groupKey = running_ && GroupKeysInstalled() != groupAtStart_;
    tally.failedJoins = failedJoins_;
    return tally;
}

void JoinFailureNotice::JoinStarted(const std::string& ssid) {
    std::lock_guard lock(mutex_);
    running_ = true;
    pairwiseAtStart_ = PairwiseKeysInstalled();
    groupAtStart_ = GroupKeysInstalled();
    ssid_ = ssid;
    armed_ = true;
    failures_.clear();
    waiting_.reset();
}

void JoinFailureNotice::JoinStopped() {
    std::lock_guard lock(mutex_);
    running_ = false;
    armed_ = false;
    failures_.clear();
    waiting_.reset();
}

void JoinFailureNotice::AttemptEnded(AttemptEnd end) {
    bool given = false;
    {
        std::lock_guard lock(mutex_);
        if (end != AttemptEnd::KeyInstalled) ++failedJoins_;
        if (!armed_ || end == AttemptEnd::Unanswered) return;
        if (end == AttemptEnd::KeyInstalled) {
            failures_.clear();
            return;
        }
        const auto now = clock_();
        failures_.push_back(now);
        while (now - failures_.front() >= kFailureWindow) failures_.pop_front();
        if (static_cast<int>(failures_.size()) >= kFailedAttempts) given = Give();
    }
    if (given) Wake();
}

void JoinFailureNotice::EndedWithoutKeys() {
    std::lock_guard lock(mutex_);
    ++failedJoins_;
}

void JoinFailureNotice::AuthenticationRefused(const std::string& ssid, unsigned long settingsApplied) {
    {
        std::lock_guard lock(mutex_);
        if (refusalToldFor_ == settingsApplied) return;
        refusalToldFor_ = settingsApplied;
        ++failedJoins_;
        waiting_ = JoinFailureText(ssid);
    }
    Wake();
}

bool JoinFailureNotice::Give() {
    if (!armed_) return false;
    armed_ = false;
    failures_.clear();
    waiting_ = JoinFailureText(ssid_);
    return true;
}

void JoinFailureNotice::Wake() {
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        wake = wake_;
    }
    if (wake) wake();
}

}  // namespace hx
