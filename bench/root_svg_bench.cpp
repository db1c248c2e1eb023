// What the generated root, the SVG drawing, the CAM-ready DXF and the read-back check cost: the
// file command for z1 = 2000 and 499 elements with each of them, against the default file
// command in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench_common.h"
#include "commands/file_command.h"

namespace kellvor::bench {
namespace {

namespace fs = std::filesystem;

// The folder of this run, removed at the end.
const fs::path& benchFolder() {
    static const fs::path dir = makeBenchFolder("kellvor_root_svg_", {});
    return dir;
}

// One way of running the file command on the large gear.
struct Variant {
    const char* name;
    FileRequest request;
};

const Variant kVariants[] = {
    {"Default",
     FileRequest{
         .input = kLargeGear, .root = RootForm::threePointArc, .svg = false, .verify = false}},
    {"Svg",
     FileRequest{
         .input = kLargeGear, .root = RootForm::threePointArc, .svg = true, .verify = false}},
    {"GeneratedRoot",
     FileRequest{.input = kLargeGear, .root = RootForm::generated, .svg = false, .verify = false}},
    {"GeneratedRootSvg",
     FileRequest{.input = kLargeGear, .root = RootForm::generated, .svg = true, .verify = false}},
    {"GeneratedRootSvgVerify",
     FileRequest{.input = kLargeGear, .root = RootForm::generated, .svg = true, .verify = true}},
    {"CamDxf", FileRequest{.input = kLargeGear, .dxfStyle = DxfStyle::cam}},
    {"CamDxfVerify", FileRequest{.input = kLargeGear, .dxfStyle = DxfStyle::cam, .verify = true}},
    {"GeneratedRootSvgCamVerify", FileRequest{.input = kLargeGear,
                                              .root = RootForm::generated,
                                              .svg = true,
                                              .dxfStyle = DxfStyle::cam,
                                              .verify = true}},
};

void fileCommand(benchmark::State& state, const FileRequest& request) {
    std::ostringstream console;
    for (auto _ : state) {
        const CommandResult r = runFileCommand(request, benchFolder(), console);
        if (r.status != CommandStatus::ok)
            state.SkipWithError(r.message.c_str());
    }
    double bytes = 0;
    for (const auto& entry : fs::directory_iterator(benchFolder()))
        bytes += static_cast<double>(entry.file_size());
    state.counters["MB"] = bytes / 1e6;
    fs::remove(benchFolder() / "zahnrad.svg");
}

std::string benchName(const Variant& v) {
    return std::string(v.name) + "/z1:2000/segments:499";
}

}  // namespace
}  // namespace kellvor::bench

int main(int argc, char** argv) {
    using namespace kellvor::bench;
    for (const Variant& v : kVariants) {
        benchmark::RegisterBenchmark(benchName(v).c_str(), fileCommand, v.request)
            ->Iterations(1)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    TimeKeeper keeper;
    benchmark::RunSpecifiedBenchmarks(&keeper);
    const double base = keeper.seconds(benchName(kVariants[0]));
    if (base > 0) {
        std::printf("default file command (median of 3): %.3f s\n", base);
        for (const Variant& v : kVariants) {
            const double t = keeper.seconds(benchName(v));
            if (t > 0 && &v != &kVariants[0])
                std::printf("%-26s %.3f s, %.2f times the default\n", v.name, t, t / base);
        }
    }
    std::filesystem::remove_all(benchFolder());
    benchmark::Shutdown();
    return 0;
}
