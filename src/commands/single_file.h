// One file given by its own path (a preview picture, a JSON or CSV file), replaced safely.
#pragma once

#include <filesystem>
#include <string_view>

#include "commands/command_result.h"

namespace kellvor {

// Writes bytes as the file at path through the safe replacement: an existing file is replaced
// only by the complete new one. The result names the file and the reason on failure.
CommandResult replaceSingleFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace kellvor
