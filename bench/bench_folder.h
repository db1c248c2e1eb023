// What the file benchmarks share: the large gear they write and a folder of their own.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

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

}  // namespace kellvor::bench
