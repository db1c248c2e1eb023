// A design sweep: every point of a grid computed on every core, its rows streamed in grid order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "commands/command_result.h"
#include "commands/sweep_grid.h"
#include "outline/progress.h"
#include "output/byte_sink.h"

namespace kellvor {

// Appends the row of one grid point to out; returns false when the row is to be left out.
// Called from several threads at once: it must not share state.
using SweepRowFormatter = std::function<bool(const GearPairInput& point, std::string& out)>;

// What a sweep did.
struct SweepOutcome {
    CommandResult result;
    std::int64_t points = 0;  // grid points computed
    std::int64_t rows = 0;    // rows written
};

// Writes header, then the rows of all grid points in grid order to sink. The grid is cut into
// blocks that threads (threads = 0: one per core) compute at the same time; finished blocks are
// written in order, so memory stays at one block per thread. progress (may be empty) sees the
// points written so far out of the grid's size, in order; its false cancels. A sink that fails
// ends the sweep with fileError and an empty message: the caller names the file and the reason
// (sink.error()).
SweepOutcome runSweep(const SweepGrid& grid, std::string_view header,
                      const SweepRowFormatter& format, ByteSink& sink,
                      const ProgressCallback& progress = {}, unsigned threads = 0);

}  // namespace kellvor
