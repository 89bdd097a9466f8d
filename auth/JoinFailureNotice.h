// Whether to tell the user that a join is failing, and with which words. The worker reports
// how its attempts end (JoinOutcomePort); a wrong pass phrase, WEP key or 802.1X password
// shows as attempts that never get a pairwise key: with WPA-PSK the access point lets the
// adapter associate, refuses the handshake and deauthenticates it, the adapter associates
// again, and so on.
//
// The notice is given when the worker ends by itself without keys, or when
// kFailedAttempts attempts end without a pairwise key within kFailureWindow. It is given
// at most once per setting applied (each start of the worker), never after the worker was
// stopped, and an attempt that got its keys starts the count anew. The text waits in the
// notice until the UI thread takes it; a new start or a stop drops a text not yet taken.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "auth/WorkerPorts.h"

namespace hx {

// The balloon's text for a join that fails.
std::string JoinFailureText(const std::string& ssid);

// What the control channel tells of the worker: whether the keys were installed since its
// current start, and how many attempts ended without keys since the process started.
struct JoinTally {
    bool pairwiseKey = false;
    bool groupKey = false;
    unsigned long failedJoins = 0;
};

class JoinFailureNotice final : public JoinOutcomePort {
public:
    static constexpr int kFailedAttempts = 3;
    static constexpr std::chrono::seconds kFailureWindow{60};

    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    explicit JoinFailureNotice(Clock clock = [] { return std::chrono::steady_clock::now(); });

    // Called (on the worker's thread, without locks held) when a notice is waiting.
    void OnNoticeWaiting(std::function<void()> wake);
    // The waiting notice's text, once.
    std::optional<std::string> TakeNotice();
    JoinTally Tally();

    void JoinStarted(const std::string& ssid) override;
    void JoinStopped() override;
    void AttemptEnded(bool pairwiseKeyInstalled) override;
    void EndedWithoutKeys() override;

private:
    // Under the mutex: the notice for this setting is due. True when it was armed.
    bool Give();
    void Wake();

    const Clock clock_;
    std::mutex mutex_;
    std::function<void()> wake_;
    std::string ssid_;
    bool armed_ = false;   // a setting was applied and its notice not given yet
    std::deque<std::chrono::steady_clock::time_point> failures_;
    std::optional<std::string> waiting_;
    bool running_ = false;  // started and not stopped
    unsigned long pairwiseAtStart_ = 0, groupAtStart_ = 0, failedJoins_ = 0;
};

}  // namespace hx
