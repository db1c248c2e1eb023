// The verdict on the command line: --check, --json, --ball and the findings after every run.
#pragma once

#include <iosfwd>
#include <optional>

#include "cli/cli_options.h"
#include "geometry/gear_pair_input.h"

namespace kellvor {

// Runs --check and/or --json for o instead of the file command: the range test, then the check
// listing on out and the JSON report to its file or out; exit code 4 when --check finds a Fehler.
int runVerdict(const CliOptions& o, std::ostream& out, std::ostream& err);

// The exit code of a --ball diameter that touches neither gear's drawn involute (its message
// then on err); nothing when no ball was given, it fits, or the values fail the range test.
std::optional<int> rejectBall(const CliOptions& o, std::ostream& err);

// The findings of input on err, one "<level>: <text>" line each; nothing for values that fail
// the range test.
void printFindings(const GearPairInput& input, std::ostream& err);

}  // namespace kellvor
