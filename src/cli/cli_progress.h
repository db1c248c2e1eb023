// Progress of a long command-line run, shown on a terminal as one rewritten line.
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>
#include <string_view>

#include "outline/progress.h"

namespace kellvor {

// A progress callback that stays silent for the first delay, then rewrites one line on out
// ("\r<label>done / total (p %)", label "Zähne: " unless given) at most a few times a second,
// and ends it with a newline when the last tooth (or point) is done. Calls with done = total = 0
// count no step: when they go on for delay (the run waits for another run's folder),
// waitingText is written once as a line of its own. Never cancels.
ProgressCallback makeTerminalProgress(std::ostream& out, std::chrono::milliseconds delay,
                                      std::string waitingText = {}, std::string_view label = {});

}  // namespace kellvor
