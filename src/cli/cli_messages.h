// The German texts of kellvor-cli: its help and its usage errors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "commands/sweep_grid.h"
#include "geometry/centre_distance.h"
#include "geometry/measuring_dimensions.h"

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

// Designing a pair: --centre-distance and --sweep.
// The shifts chosen for centre distance a (mm), every digit that reads back to the same double.
std::string chosenShifts(double a, double x1, double x2);
// Why no shifts give centre distance a (mm); touching is ad cos(alphat) in mm.
std::string shiftDesignFailed(double a, double touching, const ShiftDesign& design);
// --x1 and --x2 both given with --centre-distance.
std::string bothShiftsWithCentreDistance();
// A --sweep argument that is not NAME=FROM:TO:STEP with a field name and numbers.
std::string badSweep(std::string_view argument);
// A --sweep argument whose range cannot be swept; with an empty argument, a grid too large.
std::string sweepRefused(std::string_view argument, SweepError error);
// The same field swept twice.
std::string sweptTwice(std::string_view field);
// An option that needs another one.
std::string needs(std::string_view option, std::string_view required);
// After a sweep written to file: points computed and rows written.
std::string sweepWritten(std::int64_t points, std::int64_t rows, std::string_view file);
// Standard output could not take the CSV rows.
inline constexpr std::string_view kStandardOutputFailed =
    "Die Standardausgabe kann nicht geschrieben werden";
// The terminal's progress line of a sweep: "Punkte: <done> / <total> (<p> %)".
inline constexpr std::string_view kPointsProgress = "Punkte: ";

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
