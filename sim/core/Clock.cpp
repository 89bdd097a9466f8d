#include "sim/core/Clock.h"

#include <chrono>

namespace hxsim {
namespace {
Millis SteadyMillis() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

SteadyClock::SteadyClock() : origin_(SteadyMillis()) {}

Millis SteadyClock::Now() const { return SteadyMillis() - origin_; }

}  // namespace hxsim
