// Progress reporting of long work: the walks, the writers and the commands call it.
#pragma once

#include <cstdint>
#include <functional>

namespace kellvor {

// Called while work runs with the steps done so far and the total; returning false cancels.
// done = total = 0 counts no step: the work waits (for another run's folder lock) or asks a last
// time before it changes files.
using ProgressCallback = std::function<bool(std::int64_t done, std::int64_t total)>;

}  // namespace kellvor
