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

#include "flushing_stream_writer.h"
#include "geometry/gear_pair_geometry.h"
#include "outline/flank_profile.h"
#include "outline/root_arc.h"
#include "output/file_command.h"

namespace kellvor::bench {
namespace {

namespace fs = std::filesystem;

const GearPairInput kLargeGear{2000, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 499};

// A folder of its own under the system's temporary folder (TMPDIR), removed at the end.
const fs::path& benchFolder() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("kellvor_bench_" + std::to_string(::getpid()));
        fs::create_directories(d / "command");
        fs::create_directories(d / "streams");
        return d;
    }();
    return dir;
}

void fileCommand(benchmark::State& state) {
    std::ostringstream console;
    for (auto _ : state) {
        RootArc arc;
        const CommandResult r = runFileCommand(kLargeGear, arc, benchFolder() / "command", console);
        if (r.status != CommandStatus::ok)
            state.SkipWithError(r.message.c_str());
    }
    const auto bytes = fs::file_size(benchFolder() / "command" / "zahnrad.dxf") +
                       fs::file_size(benchFolder() / "command" / "zahnrad.txt");
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void flushingStreams(benchmark::State& state) {
    const GearPairGeometry g = computeGearPairGeometry(kLargeGear);
    const FlankProfile profile = buildFlankProfile(g, kLargeGear.x1, kLargeGear.segmentCount);
    for (auto _ : state) {
        RootArc arc;
        if (!fitRootArc(profile, g, kLargeGear.z1, arc))
            state.SkipWithError("no root arc");
        writeWithFlushingStreams(profile, arc, kLargeGear.z1, benchFolder() / "streams");
    }
}

BENCHMARK(fileCommand)
    ->Name("FileCommand/z1:2000/segments:499")
    ->Iterations(1)
    ->Repetitions(5)
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

// Console output as usual, and the real time of each run kept: the median of the repeated
// command and the single stream run.
class TimeKeeper : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || run.run_type == Run::RT_Iteration)
                m_seconds[run.run_name.function_name] = run.GetAdjustedRealTime() / 1e3;
        }
    }
    double seconds(const std::string& name) const {
        const auto it = m_seconds.find(name);
        return it == m_seconds.end() ? 0.0 : it->second;
    }

  private:
    std::map<std::string, double> m_seconds;
};

}  // namespace
}  // namespace kellvor::bench

int main(int argc, char** argv) {
    using namespace kellvor::bench;
    benchmark::Initialize(&argc, argv);
    TimeKeeper keeper;
    benchmark::RunSpecifiedBenchmarks(&keeper);
    const double command = keeper.seconds("FileCommand/z1:2000/segments:499");
    const double streams = keeper.seconds("FlushingStreams/z1:2000/segments:499");
    if (command > 0 && streams > 0) {
        const auto& dir = benchFolder();
        const bool same =
            sameBytes(dir / "command" / "zahnrad.dxf", dir / "streams" / "zahnrad.dxf") &&
            sameBytes(dir / "command" / "zahnrad.txt", dir / "streams" / "zahnrad.txt");
        std::printf(
            "file command (median of 5): %.3f s; flushing streams: %.3f s; %.1f times "
            "faster; same bytes: %s\n",
            command, streams, streams / command, same ? "yes" : "NO");
    }
    std::filesystem::remove_all(benchFolder());
    benchmark::Shutdown();
    return 0;
}
