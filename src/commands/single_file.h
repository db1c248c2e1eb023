// One file given by its own path (a preview picture, a JSON or CSV file), replaced safely.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "commands/command_result.h"
#include "outline/progress.h"
#include "output/byte_sink.h"

namespace kellvor {

// Writes bytes as the file at path through the safe replacement (a random temporary created
// exclusively beside it, synced, renamed over it under the folder's lock): an existing file is
// replaced only by the complete new one. progress(0, 0) is called while another run holds the
// folder and once more before the rename; false from it cancels. The result names the file and
// the reason on failure.
CommandResult replaceSingleFile(const std::filesystem::path& path, std::string_view bytes,
                                const ProgressCallback& progress = {});

// Streams the file at path through the same safe replacement: write puts the bytes into the sink
// it is handed, and the file replaces an existing one only when write returns success. A
// fileError of write without a message is named by the file and the sink's reason; other
// failures of write are returned as they are, with the earlier file unchanged.
CommandResult replaceSingleFileStreamed(const std::filesystem::path& path,
                                        const std::function<CommandResult(ByteSink&)>& write,
                                        const ProgressCallback& progress = {});

}  // namespace kellvor
