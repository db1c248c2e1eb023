// Progress of a long command-line run, shown on a terminal as one rewritten line.
#pragma once

#include <chrono>
#include <iosfwd>

#include "outline/progress.h"

namespace kellvor {

// A progress callback that stays silent for the first delay, then rewrites one line on out
// ("\rZähne: done / total (p %)") at most a few times a second, and ends it with a newline
// when the last tooth is done. Never cancels.
ProgressCallback makeTerminalProgress(std::ostream& out, std::chrono::milliseconds delay);

}  // namespace kellvor
