// The figures the Windows benchmarks print of their timed runs.
#pragma once

#include <algorithm>
#include <vector>

namespace hx::bench {

struct Figures {
    double median = 0, p90 = 0;
};

// Nearest-rank percentiles of the times, in milliseconds.
inline Figures Summarise(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const auto rank = [&](double p) { return ms[std::min(ms.size() - 1, static_cast<size_t>(p * ms.size()))]; };
    return {rank(0.5), rank(0.9)};
}

}  // namespace hx::bench
