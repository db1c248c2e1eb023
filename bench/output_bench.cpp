// Writing the drawing and trace of a large gear: the file command against plain text streams
// that flush every line. z1 = 2000 and 499 elements give 2,000,000 entities (about 300 MB).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "bench_common.h"
#include "commands/file_command.h"
#include "flushing_stream_writer.h"
#include "geometry/gear_pair_geometry.h"
#include "outline/flank_profile.h"
#include "outline/root_arc.h"

namespace kellvor::bench {
namespace {

namespace fs = std::filesystem;

// The folder of this run, removed at the end.
const fs::path& benchFolder() {
    static const fs::path dir =
        makeBenchFolder("kellvor_bench_", {"command", "streams", "one_thread"});
    return dir;
}

void fileCommand(benchmark::State& state) {
    std::ostringstream console;
    for (auto _ : state) {
        const CommandResult r = runFileCommand(kLargeGear, benchFolder() / "command", console);
        if (r.status != CommandStatus::ok)
            state.SkipWithError(r.message.c_str());
    }
    const auto bytes = fs::file_size(benchFolder() / "command" / "zahnrad.dxf") +
                       fs::file_size(benchFolder() / "command" / "zahnrad.txt");
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

// The large gear's profile and root arc, for the writers run outside the command.
struct LargeGear {
    FlankProfile profile;
    RootArc arc;
};

LargeGear largeGear() {
    const GearPairGeometry g = computeGearPairGeometry(kLargeGear);
    LargeGear gear{buildFlankProfile(g, kLargeGear.x1, kLargeGear.segmentCount), RootArc{}};
    gear.arc = fitRootArc(gear.profile, g.rf1, kLargeGear.z1).value_or(RootArc{});
    return gear;
}

void oneThread(benchmark::State& state) {
    const LargeGear gear = largeGear();
    for (auto _ : state)
        writeOnOneThread(gear.profile, gear.arc, kLargeGear.z1, benchFolder() / "one_thread");
}

void flushingStreams(benchmark::State& state) {
    const LargeGear gear = largeGear();
    for (auto _ : state)
        writeWithFlushingStreams(gear.profile, gear.arc, kLargeGear.z1, benchFolder() / "streams");
}

BENCHMARK(fileCommand)
    ->Name("FileCommand/z1:2000/segments:499")
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(oneThread)
    ->Name("OneThread/z1:2000/segments:499")
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(flushingStreams)
    ->Name("FlushingStreams/z1:2000/segments:499")
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

bool sameBytes(const fs::path& a, const fs::path& b) {
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    std::string ba(1 << 20, '\0'), bb(1 << 20, '\0');
    while (fa && fb) {
        fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
        fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
        if (fa.gcount() != fb.gcount() || ba.compare(0, static_cast<std::size_t>(fa.gcount()), bb,
                                                     0, static_cast<std::size_t>(fb.gcount())) != 0)
            return false;
    }
    return !fa && !fb;
}

}  // namespace
}  // namespace kellvor::bench

int main(int argc, char** argv) {
    using namespace kellvor::bench;
    benchmark::Initialize(&argc, argv);
    TimeKeeper keeper;
    benchmark::RunSpecifiedBenchmarks(&keeper);
    const double command = keeper.seconds("FileCommand/z1:2000/segments:499");
    const double single = keeper.seconds("OneThread/z1:2000/segments:499");
    const double streams = keeper.seconds("FlushingStreams/z1:2000/segments:499");
    if (command > 0 && streams > 0 && single > 0) {
        const auto& dir = benchFolder();
        const auto same = [&](const char* folder) {
            return sameBytes(dir / "command" / "zahnrad.dxf", dir / folder / "zahnrad.dxf") &&
                   sameBytes(dir / "command" / "zahnrad.txt", dir / folder / "zahnrad.txt");
        };
        std::printf(
            "file command, threaded (median of 5): %.3f s; same writers on one thread (median "
            "of 3): %.3f s, threads %.2f times faster; flushing streams: %.3f s, %.1f times "
            "slower; same bytes: %s\n",
            command, single, single / command, streams, streams / command,
            same("one_thread") && same("streams") ? "yes" : "NO");
    }
    std::filesystem::remove_all(benchFolder());
    benchmark::Shutdown();
    return 0;
}
