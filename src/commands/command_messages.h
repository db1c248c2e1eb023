// The German messages of the commands.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "commands/command_result.h"
#include "commands/mesh_view.h"
#include "geometry/gear_pair_input.h"
#include "geometry/input_validation.h"
#include "outline/generated_root.h"
#include "outline/outline_check.h"
#include "output/drawing_check.h"

namespace kellvor::messages {

// What a failed command left alone, appended to its reason.
inline constexpr std::string_view kNothingWritten = "Es wurde keine Datei geändert.";
inline constexpr std::string_view kNothingDrawn = "Es wurde nichts gezeichnet.";

// The console line before the drawing is written.
inline constexpr std::string_view kWritingDrawing = "DXF-Datei wird geschrieben...";

// No circle closes the tooth gap.
inline constexpr std::string_view kFitFailed =
    "Der Kreis, der die Zahnlücken schließt, lässt sich für diese Werte nicht bestimmen.";

// Stopped through the progress callback.
inline constexpr std::string_view kCancelled = "Abgebrochen.";

// An allocation failed.
inline constexpr std::string_view kOutOfMemory = "Nicht genug Arbeitsspeicher.";

// The warning of a failed range test, then the field and its range.
std::string outOfRange(const RangeViolation& violation, DecimalMark mark = DecimalMark::point);

// The warning of a failed range test for the normal backlash jn, then its field and range.
std::string backlashOutOfRange(double jn, double mn, DecimalMark mark = DecimalMark::point);

// Why the pair of input cannot be placed: it has no working pressure angle.
std::string noWorkingAngle(const GearPairInput& input);

// The teeth interfere at the step phi1 (degrees of gear 1): the files record it.
std::string interference(double phi1Degrees);

// Why the outline of gear `gear` (tooth count z, shift x) cannot be drawn.
std::string notDrawable(int gear, std::int32_t z, double x, OutlineDefect defect);

// A width x height picture needs neededMB of memory, more than the availableMB left.
std::string pictureNeedsMemory(std::int32_t width, std::int32_t height, std::uint64_t neededMB,
                               std::uint64_t availableMB);

// The picture for path could not be encoded (reason from the PNG encoder).
std::string pictureNotEncoded(const std::filesystem::path& path, std::string_view reason);

// The title of gear `gear`'s drawing (0: the pair's): the inputs it was made from and the root
// form.
std::string drawingTitle(int gear, const GearPairInput& input, RootForm root);

// What the check of the written drawing file (its final name) found.
std::string drawingCheckFailed(std::string_view file, const DrawingFinding& finding);

// One line on where the findings and the mesh check disagree: the drawing is what will be made.
std::string meshDisagreement(MeshDisagreement disagreement, const MeshCheck& check,
                             DecimalMark mark = DecimalMark::point);

// reason and consequence joined into one message.
std::string joined(std::string_view reason, std::string_view consequence);

// The result of a command stopped through its progress callback (or a signal through it), with
// what it left unchanged (kNothingWritten, kNothingDrawn).
CommandResult cancelledResult(std::string_view unchanged);

}  // namespace kellvor::messages
