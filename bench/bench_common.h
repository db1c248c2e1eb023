// What the file benchmarks share: the large gear they write, a folder of their own and the
// reporter that keeps each run's time for the summary.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/gear_pair_input.h"

namespace kellvor::bench {

// z1 = 2000 with 499 elements per flank: 2,000,000 entities, a drawing of about 336 MB.
inline const GearPairInput kLargeGear{2000, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 499};

// A folder named prefix plus the process id under the system's temporary folder (TMPDIR, to
// measure another disk), with the given subfolders; made once, removed by the benchmark's end.
inline std::filesystem::path makeBenchFolder(std::string_view prefix,
                                             std::initializer_list<std::string_view> subfolders) {
    const std::filesystem::path d =
        std::filesystem::temp_directory_path() / (std::string(prefix) + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    for (const std::string_view sub : subfolders)
        std::filesystem::create_directories(d / sub);
    return d;
}

// Console output as usual, and the real time of each benchmark kept: the median of a repeated
// one, the time of a single run.
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

}  // namespace kellvor::bench
