// The mesh check of the pair over its 360 steps: the dialog's initial values, and two gears of
// 200 teeth with 50 elements per flank. Only the check is timed; the outlines are built first.
#include <benchmark/benchmark.h>

#include <sstream>

#include "commands/command_prologue.h"
#include "geometry/backlash.h"
#include "outline/mesh_check.h"

namespace kellvor::bench {
namespace {

MeshSetup setupOf(const GearPairInput& input) {
    std::ostringstream console;
    const Prologue p = runPrologue(PrologueRequest{input, 0.0, true}, console, "");
    const GearPairGeometry& g = p.gear->geometry;
    return MeshSetup{p.gear->outline(),
                     p.gear2->outline(),
                     g.a,
                     g.dw2 / 2,
                     input.mn,
                     0.0,
                     nominalCircularBacklash(g, 0.0)};
}

void meshCheck(benchmark::State& state, const GearPairInput& input) {
    const MeshSetup setup = setupOf(input);
    MeshCheck check;
    for (auto _ : state) {
        check = checkMesh(setup);
        benchmark::DoNotOptimize(check);
    }
    state.counters["jt_min_um"] = check.jtMin * 1e3;
    state.counters["jt_max_um"] = check.jtMax * 1e3;
}

BENCHMARK_CAPTURE(meshCheck, initial, GearPairInput{})
    ->Name("MeshCheck/initial values")
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(meshCheck, large, GearPairInput{200, 200, 8.0, 45.0, 20.0, 0.0, 0.0, 50})
    ->Name("MeshCheck/z1:200/z2:200/segments:50")
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kellvor::bench

BENCHMARK_MAIN();
