// Designing a pair on the command line: shifts from a centre distance, sweeps over a grid.
#pragma once

#include <iosfwd>
#include <optional>

#include "cli/cli_options.h"
#include "outline/progress.h"

namespace kellvor {

// For --centre-distance: finds x1 and x2 (one of them given, or split for equal specific
// sliding), puts them into o.input and prints them, on err when standard output carries the JSON
// report, otherwise on out. The exit code when that fails (message on err): the range test of the
// other values, or no shifts for the centre distance. Nothing without --centre-distance.
std::optional<int> designShiftsForCentreDistance(CliOptions& o, std::ostream& out,
                                                 std::ostream& err);

// For --sweep: writes the CSV rows of the grid to o.csvFile (safely replaced) or out, computed on
// every core; progress (may be empty) sees the points written. Returns the exit code: 0 when
// written, 1 on a file error (message on err naming the file and the reason).
int runSweepCli(const CliOptions& o, std::ostream& out, std::ostream& err,
                const ProgressCallback& progress);

}  // namespace kellvor
