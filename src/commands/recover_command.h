// The recovery of an output folder on its own, without writing anything new.
#pragma once

#include <filesystem>
#include <iosfwd>

#include "commands/command_result.h"
#include "outline/progress.h"

namespace kellvor {

// Locks dir (calling progress(0, 0) while another run holds it; false cancels), finishes or
// clears what a dead run left there and writes what it did and what it left alone to console.
// Fails when the folder cannot be opened or a committed switch cannot be finished.
CommandResult runRecoverCommand(const std::filesystem::path& dir, std::ostream& console,
                                const ProgressCallback& progress = {});

}  // namespace kellvor
