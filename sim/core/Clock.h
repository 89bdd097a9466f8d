// Time for the simulated world. The library runs on the steady clock; tests inject a
// manual clock and move it on instantly, so that scans, association and handshake
// timeouts need no real waiting.
#pragma once

#include <atomic>
#include <cstdint>

namespace hxsim {

using Millis = int64_t;

class Clock {
public:
    virtual ~Clock() = default;
    virtual Millis Now() const = 0;
};

// Milliseconds of the steady clock since the clock was made.
class SteadyClock final : public Clock {
public:
    SteadyClock();
    Millis Now() const override;

private:
    Millis origin_;
};

// Stands still until told to move.
class ManualClock final : public Clock {
public:
    explicit ManualClock(Millis start = 0) : now_(start) {}
    Millis Now() const override { return now_.load(); }
    void Advance(Millis delta) { now_ += delta; }
    void Set(Millis now) { now_ = now; }

private:
    std::atomic<Millis> now_;
};

}  // namespace hxsim
