// A design sweep over a 10^7-point grid, on one core and on all: the pair's geometry and
// findings alone, and with each row formatted as CSV and handed to a sink that drops it.
// Counters give grid points per second of wall time, in total and per thread, and per second of
// the process's CPU time (what a core gives when other work shares the machine).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "commands/sweep_command.h"
#include "commands/sweep_rows.h"
#include "geometry/assessment.h"
#include "geometry/input_validation.h"
#include "output/sweep_csv.h"

namespace kellvor::bench {
namespace {

// Takes every byte and keeps none, so that only computing and formatting are measured.
class DiscardSink final : public ByteSink {
  public:
    bool write(const char*, std::size_t size) override {
        benchmark::DoNotOptimize(size);
        return true;
    }
    std::error_code error() const override { return {}; }
};

// User and system time of the whole process, in seconds.
double processCpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

// 100 tooth counts x 100 x1 x 100 x2 x 10 helix angles.
SweepGrid grid() {
    SweepGrid g;
    for (const auto& [field, from, to, step] : {std::tuple{InputField::z1, 10.0, 109.0, 1.0},
                                                std::tuple{InputField::x1, -0.5, 0.49, 0.01},
                                                std::tuple{InputField::x2, -0.5, 0.49, 0.01},
                                                std::tuple{InputField::beta, 0.0, 27.0, 3.0}})
        g.axes.push_back(makeSweepAxis(field, from, to, step).axis.value());
    return g;
}

// The range test, the geometry and the findings of a point; no row.
bool judgeOnly(const GearPairInput& point, std::string&) {
    if (!validateInput(point))
        return false;
    const Assessment a = assessGearPair(point);
    benchmark::DoNotOptimize(a);
    return false;
}

bool csvRow(const GearPairInput& point, std::string& out) {
    return appendSweepRow(point, SweepRows::all, out);
}

void run(benchmark::State& state, const SweepRowFormatter& format) {
    const SweepGrid g = grid();
    const auto threads = static_cast<unsigned>(state.range(0));
    const unsigned used = threads > 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    double cpu = 0;
    for (auto _ : state) {
        DiscardSink sink;
        const double cpuStart = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const SweepOutcome outcome = runSweep(g, kSweepCsvHeader, format, sink, {}, threads);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        cpu += processCpuSeconds() - cpuStart;
        if (!outcome.result.ok() || outcome.points != g.size())
            state.SkipWithError("sweep did not finish");
    }
    const auto points = static_cast<double>(g.size() * state.iterations());
    state.counters["points/s"] = benchmark::Counter(points, benchmark::Counter::kIsRate);
    state.counters["per_core"] = benchmark::Counter(points / used, benchmark::Counter::kIsRate);
    state.counters["per_cpu_s"] = points / cpu;
    state.counters["threads"] = used;
}

void sweepJudgeOnly(benchmark::State& state) {
    run(state, judgeOnly);
}
void sweepCsvDiscarded(benchmark::State& state) {
    run(state, csvRow);
}

// Argument: threads (0: one per core).
BENCHMARK(sweepJudgeOnly)->Arg(1)->Arg(0)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(sweepCsvDiscarded)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace kellvor::bench

BENCHMARK_MAIN();
