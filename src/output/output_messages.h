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
inline constexpr std::string_view kCannotRead = "kann nicht gelesen werden";

// Why a drawing read back is no drawing of LINE and ARC entities, completing
// "Zeile <n> der Zeichnung: ...".
inline constexpr std::string_view kLineTooLong = "Zeile zu lang";
inline constexpr std::string_view kNoGroupCode = "kein Gruppencode";
inline constexpr std::string_view kNoGroupValue = "Gruppencode ohne Wert";
inline constexpr std::string_view kNoEndOfFile = "Datei endet ohne EOF";

// "Zeile <n> der Zeichnung: <reason>".
std::string drawingLineError(std::int64_t line, std::string_view reason);

// An entity the drawing writer never writes.
std::string unknownEntity(std::string_view type);

// A group value that is no number.
std::string badGroupValue(int code);

// An entity without one of its coordinates or its handle.
std::string incompleteEntity(std::string_view type);

// An entity whose handle is not where the drawing writer puts it.
std::string unexpectedHandle(std::int64_t handle);

// A drawing with another number of teeth (root arcs) than the gear.
std::string toothCount(std::int64_t expected, std::int64_t read);

// "Datei "<path>" <action>: <reason>".
std::string fileError(const std::filesystem::path& path, std::string_view action,
                      std::error_code reason);

// Appended when an earlier file could not be put back after a failed replacement.
std::string notRestored(const std::filesystem::path& path);

// "Nicht genug Speicherplatz in "<dir>": benötigt X MB, frei Y MB".
std::string notEnoughSpace(const std::filesystem::path& dir, std::uint64_t neededMB,
                           std::uint64_t freeMB);

}  // namespace kellvor::output_messages
