#include "ui/preview_command.h"

#include <cmath>
#include <ostream>
#include <string>
#include <utility>

#include "geometry/gear_pair_geometry.h"
#include "geometry/input_validation.h"
#include "outline/flank_profile.h"
#include "ui/preview_drawing.h"

namespace kellvor {
namespace {

constexpr const char* kFitFailedText =
    "Der Kreis, der die Zahnlücken schließt, lässt sich für diese Werte nicht bestimmen. "
    "Es wurde nichts gezeichnet.";
constexpr const char* kPreviewCancelledText = "Abgebrochen. Es wurde nichts gezeichnet.";

}  // namespace

PreviewResult runPreviewCommand(const GearPairInput& input, RootArc& arc, std::int32_t width,
                                std::int32_t height, std::ostream& console,
                                const ProgressCallback& progress) {
    PreviewResult out;
    if (const auto violation = findRangeViolation(input)) {
        out.result = outOfRangeResult(*violation);
        return out;
    }
    const GearPairGeometry geometry = computeGearPairGeometry(input);
    const FlankProfile profile = buildFlankProfile(geometry, input.x1, input.segmentCount);
    console << "n: " << profile.count << std::endl;
    // Without a circle through the gap points there is no closed outline to show.
    if (!fitRootArc(profile, geometry, input.z1, arc)) {
        out.result.status = CommandStatus::fitFailed;
        out.result.message = kFitFailedText;
        return out;
    }
    out.image = makeRgbImage(width, height);
    RasterPainter painter(out.image);
    const bool complete = buildPreviewDrawing(
        profile, arc, input.z1, ClientRect{0, 0, width, height},
        [&](const DrawOp& op) { painter.paint(op); }, progress);
    if (!complete) {
        out.result.status = CommandStatus::cancelled;
        out.result.message = kPreviewCancelledText;
        out.image = RgbImage{};
    }
    return out;
}

}  // namespace kellvor
