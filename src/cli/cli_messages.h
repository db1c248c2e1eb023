// The German texts of kellvor-cli: its help and its usage errors.
#pragma once

#include <string>
#include <string_view>

#include "geometry/inspection.h"

namespace kellvor::cli_messages {

// The --help text.
std::string usage();

// A value option given without a value.
std::string missingValue(std::string_view option);

// A value that cannot be read for option.
std::string badValue(std::string_view option, std::string_view value);

// A value that is none of the choices of option (listed, comma separated).
std::string badChoice(std::string_view option, std::string_view value, std::string_view choices);

// An option that kellvor-cli does not know, or an argument that is no option.
std::string unknownOption(std::string_view argument);

// Two options that exclude each other.
std::string notTogether(std::string_view first, std::string_view second);

// Two options that would both write to standard output.
std::string bothOnStandardOutput(std::string_view first, std::string_view second);

// A --ball diameter (mm) that touches neither gear's drawn involute, with each gear's range.
std::string ballOutOfRange(double DM, const BallRange& gear1, const BallRange& gear2);

// The line after every usage error.
inline constexpr std::string_view kSeeHelp = "(--help zeigt die Optionen)";

// Prefix of messages on standard error.
inline constexpr std::string_view kProgramPrefix = "kellvor-cli: ";

// The terminal's progress line: "Zähne: <done> / <total> (<p> %)".
inline constexpr std::string_view kTeethProgress = "Zähne: ";

}  // namespace kellvor::cli_messages
