// Progress reporting of long work: the walks, the writers and the commands call it.
#pragma once

#include <cstdint>
#include <functional>

namespace kellvor {

// Called while work runs with the steps done so far and the total; returning false cancels.
using ProgressCallback = std::function<bool(std::int64_t done, std::int64_t total)>;

}  // namespace kellvor
