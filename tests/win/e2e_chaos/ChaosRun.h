// What the actors of a chaos run share: its seed and length, the stop, the log, what it
// found wrong, and the counts it reports at the end. Each actor (faults, the hxctl user, the
// window user, the watchers) runs on a thread of its own with a random generator of its own
// drawn from the seed, so the sequence of what each does, and the pauses between, is the
// same for the same seed; how those sequences interleave with the utility's threads is not.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace hx::test::chaos {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Counts by name; safe from several threads.
class Tally {
public:
    void Add(const std::string& name, int n = 1);
    // "  name: count" lines, by name.
    std::string Describe() const;
    int Total() const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, int> counts_;
};

// A stop that wakes those who pause for it.
class Stopper {
public:
    bool Stopped() const { return stopped_; }
    void Stop();
    // Sleeps for the time given, or less when stopped; false then.
    bool Pause(milliseconds time);

private:
    std::atomic<bool> stopped_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
};

class ChaosRun {
public:
    ChaosRun(uint64_t seed, std::chrono::seconds length);

    const uint64_t seed;
    const std::chrono::seconds length;

    double Seconds() const;  // since the start
    bool Over() const { return Clock::now() >= end_; }
    // The faults and the users stop first; the watchers go on through the end.
    bool Pause(milliseconds time) { return actors.Pause(time); }
    Stopper actors, watchers;

    // One line of the log, with the time into the run.
    void Log(const std::string& line);
    // Something wrong: logged, and kept for the verdict.
    void Problem(const std::string& what);
    std::vector<std::string> Problems() const;

    // A command to the simulated adapter, one at a time from every thread; its reply.
    std::string Sim(const std::string& command);

    std::mt19937_64 Generator(int actor) const;

    Tally faults, requests, window, dialogs;

private:
    const Clock::time_point start_, end_;
    mutable std::mutex mutex_;
    std::vector<std::string> problems_;
    std::mutex simMutex_;
};

int Uniform(std::mt19937_64& random, int low, int high);  // low..high
bool Chance(std::mt19937_64& random, double probability);
template <typename T>
const T& Pick(std::mt19937_64& random, const T* items, size_t count) {
    return items[static_cast<size_t>(Uniform(random, 0, static_cast<int>(count) - 1))];
}

}  // namespace hx::test::chaos
