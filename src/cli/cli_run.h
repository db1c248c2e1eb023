// The whole command line run, with its streams passed in so tests can call it.
#pragma once

#include <iosfwd>
#include <string_view>
#include <vector>

namespace kellvor {

// Parses args, runs the requested command and returns the exit code (see ExitCode).
int runCli(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err);

}  // namespace kellvor
