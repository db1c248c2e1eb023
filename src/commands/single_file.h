// One file given by its own path (a preview picture, a JSON or CSV file), replaced safely.
#pragma once

#include <filesystem>
#include <string_view>

#include "commands/command_result.h"
#include "outline/progress.h"

namespace kellvor {

// Writes bytes as the file at path through the safe replacement (a random temporary created
// exclusively beside it, synced, renamed over it under the folder's lock): an existing file is
// replaced only by the complete new one. progress(0, 0) is called while another run holds the
// folder and once more before the rename; false from it cancels. The result names the file and
// the reason on failure.
CommandResult replaceSingleFile(const std::filesystem::path& path, std::string_view bytes,
                                const ProgressCallback& progress = {});

}  // namespace kellvor
