// Reading survey lists: a full 12004-byte buffer, a crowded street (the list of 158
// networks that needs a larger buffer) and a list as large as the largest buffer read
// (256 KiB); every network with a WPA element.
#include <benchmark/benchmark.h>

#include "adapter/SurveyListRead.h"
#include "pages/SurveyList.h"
#include "tests/native/pages/SurveyBuffer.h"

namespace {

constexpr size_t kWpaRecordSize = hx::BssidRecord::Ies + hx::BssidRecord::FixedIes + 24;

std::vector<hx::test::TestBss> Networks(size_t count) {
    std::vector<hx::test::TestBss> networks;
    for (size_t i = 0; i < count; ++i) {
        hx::test::TestBss bss;
        bss.ssid = "network-" + std::to_string(i);
        bss.mac[4] = static_cast<uint8_t>(i >> 8);
        bss.mac[5] = static_cast<uint8_t>(i);
        bss.privacy = 1;
        bss.elements = hx::test::WpaElement({2}, {2});
        networks.push_back(bss);
    }
    return networks;
}

void Parse(benchmark::State& state, const std::vector<uint8_t>& buffer) {
    size_t rows = 0;
    for (auto _ : state) {
        const auto entries = hx::ParseSurveyList(buffer.data(), buffer.size());
        rows = entries.size();
        benchmark::DoNotOptimize(entries.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["bytes"] = static_cast<double>(buffer.size());
}

void BM_ParseFullSurveyBuffer(benchmark::State& state) { Parse(state, hx::test::SurveyBuffer(Networks(100))); }
BENCHMARK(BM_ParseFullSurveyBuffer);

// The default world's 8 networks and a street of 150, in the buffer a grown read ends with.
void BM_ParseCrowdedStreetList(benchmark::State& state) {
    Parse(state, hx::test::SurveyBuffer(Networks(158), 48016));
}
BENCHMARK(BM_ParseCrowdedStreetList);

void BM_ParseCeilingSizeList(benchmark::State& state) {
    const size_t fit = (hx::kSurveyBufferCeiling - hx::kSurveyListHeader) / kWpaRecordSize;
    Parse(state, hx::test::SurveyBuffer(Networks(fit), hx::kSurveyBufferCeiling));
}
BENCHMARK(BM_ParseCeilingSizeList);

}  // namespace
