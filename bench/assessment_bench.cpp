// Judging many pairs, as a sweep over the input range does: the findings with the pair's
// geometry, the findings alone from a geometry already computed, and the geometry alone.
// Counters give pairs per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "geometry/assessment.h"

namespace kellvor::bench {
namespace {

// Pairs spread over the whole range of the entered values.
const std::vector<GearPairInput>& pairs() {
    static const std::vector<GearPairInput> list = [] {
        std::vector<GearPairInput> v;
        std::uint64_t state = 5;
        auto uniform = [&state](double lo, double hi) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            return lo + (hi - lo) * static_cast<double>(state >> 11) * 0x1.0p-53;
        };
        for (int i = 0; i < 4096; ++i)
            v.push_back({static_cast<std::int32_t>(uniform(4, 200)),
                         static_cast<std::int32_t>(uniform(4, 200)), uniform(0.5, 50), 20,
                         uniform(0, 30), uniform(-0.5, 0.5), uniform(-0.5, 0.5), 10});
        return v;
    }();
    return list;
}

void assessWithGeometry(benchmark::State& state) {
    const auto& in = pairs();
    std::size_t i = 0;
    for (auto _ : state) {
        const Assessment a = assessGearPair(in[i++ & 4095]);
        benchmark::DoNotOptimize(a);
    }
    state.counters["pairs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(assessWithGeometry);

void assessGivenGeometry(benchmark::State& state) {
    const auto& in = pairs();
    std::vector<GearPairGeometry> g;
    for (const GearPairInput& p : in)
        g.push_back(computeGearPairGeometry(p));
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ & 4095;
        const Assessment a = assessGearPair(in[k], g[k]);
        benchmark::DoNotOptimize(a);
    }
    state.counters["pairs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(assessGivenGeometry);

void geometryAlone(benchmark::State& state) {
    const auto& in = pairs();
    std::size_t i = 0;
    for (auto _ : state) {
        const GearPairGeometry g = computeGearPairGeometry(in[i++ & 4095]);
        benchmark::DoNotOptimize(g);
    }
    state.counters["pairs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(geometryAlone);

}  // namespace
}  // namespace kellvor::bench

BENCHMARK_MAIN();
