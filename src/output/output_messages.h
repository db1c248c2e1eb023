// The German messages of the output layer: what went wrong with which file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace kellvor::output_messages {

// What could not be done with a file, completing "Datei "<path>" ...".
inline constexpr std::string_view kCannotCreate = "kann nicht angelegt werden";
inline constexpr std::string_view kCannotWrite = "kann nicht geschrieben werden";
inline constexpr std::string_view kCannotReplace = "kann nicht ersetzt werden";

// "Datei "<path>" <action>: <reason>".
std::string fileError(const std::filesystem::path& path, std::string_view action,
                      std::error_code reason);

// Appended when an earlier file could not be put back after a failed replacement.
std::string notRestored(const std::filesystem::path& path);

// "Nicht genug Speicherplatz in "<dir>": benötigt X MB, frei Y MB".
std::string notEnoughSpace(const std::filesystem::path& dir, std::uint64_t neededMB,
                           std::uint64_t freeMB);

}  // namespace kellvor::output_messages
