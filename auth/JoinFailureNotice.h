// Whether to tell the user that a join is failing because of its key, and with which words.
// The key is blamed only where the access point answered and then refused:
//
// - WPA: the worker reports how its attempts end (JoinOutcomePort). A wrong pass phrase or
//   802.1X password shows as attempts in which the access point lets the adapter associate,
//   the handshake fails and the adapter is deauthenticated, again and again. The notice is
//   given when kFailedAttempts such attempts end without a pairwise key within
//   kFailureWindow; at most once per start of the worker, never after it was stopped, and
//   an attempt that got its key starts the count anew. Attempts that never associated (the
//   network out of range) and a worker that ends by itself (no WPA element, no cipher, no
//   certificate) say nothing about the key.
// - WEP with shared-key authentication: the adapter reports the access point's refusal of
//   the key in its connect state (ConnectState::AuthenticationRefused). Told once per
//   setting applied.
//
// The text waits in the notice until the UI thread takes it; a new start or a stop of the
// worker drops a text not yet taken.
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
    void AttemptEnded(AttemptEnd end) override;
    void EndedWithoutKeys() override;

    // UI thread, after a link poll that found the adapter's authentication refused;
    // settingsApplied is UtilityState's count of settings applied.
    void AuthenticationRefused(const std::string& ssid, unsigned long settingsApplied);

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
    std::optional<unsigned long> refusalToldFor_;  // the setting whose refused key was told
};

}  // namespace hx
