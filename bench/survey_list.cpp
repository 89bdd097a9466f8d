// Reading a full 12004-byte survey buffer: as many networks as fit, each with a WPA element.
#include <benchmark/benchmark.h>

#include "pages/SurveyList.h"
#include "tests/native/pages/SurveyBuffer.h"

namespace {

void BM_ParseFullSurveyBuffer(benchmark::State& state) {
    std::vector<hx::test::TestBss> networks;
    for (int i = 0; i < 100; ++i) {
        hx::test::TestBss bss;
        bss.ssid = "network-" + std::to_string(i);
        bss.privacy = 1;
        bss.elements = hx::test::WpaElement({2}, {2});
        networks.push_back(bss);
    }
    const auto buffer = hx::test::SurveyBuffer(networks);
    size_t rows = 0;
    for (auto _ : state) {
        const auto entries = hx::ParseSurveyList(buffer.data(), buffer.size());
        rows = entries.size();
        benchmark::DoNotOptimize(entries.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ParseFullSurveyBuffer);

}  // namespace
