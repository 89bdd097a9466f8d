#include "tests/win/e2e_chaos/ChaosRun.h"

#include <cstdio>

#include "tests/win/common/SimulatorProbe.h"

namespace hx::test::chaos {

void Tally::Add(const std::string& name, int n) {
    std::lock_guard lock(mutex_);
    counts_[name] += n;
}

std::string Tally::Describe() const {
    std::lock_guard lock(mutex_);
    std::string text;
    for (const auto& [name, count] : counts_) text += "  " + name + ": " + std::to_string(count) + "\n";
    return text;
}

int Tally::Total() const {
    std::lock_guard lock(mutex_);
    int total = 0;
    for (const auto& entry : counts_) total += entry.second;
    return total;
}

void Stopper::Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
}

bool Stopper::Pause(milliseconds time) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, time, [&] { return stopped_.load(); });
}

ChaosRun::ChaosRun(uint64_t seed, std::chrono::seconds length)
    : seed(seed), length(length), start_(Clock::now()), end_(start_ + length) {}

double ChaosRun::Seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

void ChaosRun::Log(const std::string& line) {
    std::lock_guard lock(mutex_);
    std::printf("[%8.1f s] %s\n", Seconds(), line.c_str());
    std::fflush(stdout);
}

void ChaosRun::Problem(const std::string& what) {
    Log("PROBLEM: " + what);
    std::lock_guard lock(mutex_);
    problems_.push_back(std::string("at ") + std::to_string(static_cast<int>(Seconds())) + " s: " + what);
}

std::vector<std::string> ChaosRun::Problems() const {
    std::lock_guard lock(mutex_);
    return problems_;
}

std::string ChaosRun::Sim(const std::string& command) {
    std::lock_guard lock(simMutex_);
    return SimCommand(command);
}

std::mt19937_64 ChaosRun::Generator(int actor) const {
    std::seed_seq sequence{static_cast<uint32_t>(seed), static_cast<uint32_t>(seed >> 32), static_cast<uint32_t>(actor)};
    return std::mt19937_64(sequence);
}

int Uniform(std::mt19937_64& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

bool Chance(std::mt19937_64& random, double probability) {
    return std::bernoulli_distribution(probability)(random);
}

}  // namespace hx::test::chaos
