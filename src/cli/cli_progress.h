// Progress of a long command-line run, shown on a terminal as one rewritten line.
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

#include "outline/progress.h"

namespace kellvor {

// A progress callback that stays silent for the first delay, then rewrites one line on out
// ("\rZähne: done / total (p %)") at most a few times a second, and ends it with a newline
// when the last tooth is done. Calls with done = total = 0 count no step: when they go on for
// delay (the run waits for another run's folder), waitingText is written once as a line of its
// own. Never cancels.
ProgressCallback makeTerminalProgress(std::ostream& out, std::chrono::milliseconds delay,
                                      std::string waitingText = {});

}  // namespace kellvor
