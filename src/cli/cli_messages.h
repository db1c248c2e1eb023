// The German texts of kellvor-cli: its help and its usage errors.
#pragma once

#include <string>
#include <string_view>

namespace kellvor::cli_messages {

// The --help text.
std::string usage();

// A value option given without a value.
std::string missingValue(std::string_view option);

// A value that cannot be read for option.
std::string badValue(std::string_view option, std::string_view value);

// An option that kellvor-cli does not know, or an argument that is no option.
std::string unknownOption(std::string_view argument);

// --recover was given together with --preview.
inline constexpr std::string_view kRecoverWithPreview =
    "--recover und --preview lassen sich nicht zusammen angeben";

// On a terminal, after half a second of waiting for another run's lock on folder.
std::string waitingForFolder(std::string_view folder);

// A run that signal sig stopped; outcome is the command's message, or empty when the command
// had finished when the signal came.
std::string signalled(int sig, std::string_view outcome);

// The line after every usage error.
inline constexpr std::string_view kSeeHelp = "(--help zeigt die Optionen)";

// Prefix of messages on standard error.
inline constexpr std::string_view kProgramPrefix = "kellvor-cli: ";

// The terminal's progress line: "Zähne: <done> / <total> (<p> %)".
inline constexpr std::string_view kTeethProgress = "Zähne: ";

}  // namespace kellvor::cli_messages
