// One file given by its own path (a preview picture, a JSON or CSV file), replaced safely.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "commands/command_result.h"
#include "output/byte_sink.h"

namespace kellvor {

// Writes bytes as the file at path through the safe replacement: an existing file is replaced
// only by the complete new one. The result names the file and the reason on failure.
CommandResult replaceSingleFile(const std::filesystem::path& path, std::string_view bytes);

// Streams the file at path through the safe replacement: write puts the bytes into the sink it
// is handed, and the file replaces an existing one only when write returns success. A fileError
// of write without a message is named by the file and the sink's reason; other failures of
// write are returned as they are, with the earlier file unchanged.
CommandResult replaceSingleFileStreamed(const std::filesystem::path& path,
                                        const std::function<CommandResult(ByteSink&)>& write);

}  // namespace kellvor
