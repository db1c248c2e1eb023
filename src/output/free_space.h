// The room the output files may need, checked against the free space of the target folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kellvor {

// Most bytes the report (already formatted, reportBytes long), the drawing and the trace of z1
// teeth with pointCount points each can take together.
std::uint64_t maxOutputBytes(std::uint64_t reportBytes, std::int64_t z1, std::int64_t pointCount);

// The German message "Nicht genug Speicherplatz ...: benötigt X MB, frei Y MB" when needed
// bytes exceed what dir's file system has free; nothing when they fit or the space is unknown
// (then creating the files reports the real reason).
std::optional<std::string> checkFreeSpace(const std::filesystem::path& dir, std::uint64_t needed);

}  // namespace kellvor
