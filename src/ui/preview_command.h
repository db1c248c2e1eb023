// The preview command: the outline of gear 1 painted into an image of the frame's client size.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "geometry/gear_pair_input.h"
#include "outline/root_arc.h"
#include "output/command_result.h"
#include "ui/preview_raster.h"

namespace kellvor {

// The picture of a preview, valid when status is ok.
struct PreviewResult {
    CommandResult result;
    RgbImage image;
};

// Range test, geometry, profile, "n: " line to console, fit, and the drawing painted into a
// width x height image. arc is the run's RootArc (in/out).
PreviewResult runPreviewCommand(const GearPairInput& input, RootArc& arc, std::int32_t width,
                                std::int32_t height, std::ostream& console,
                                const ProgressCallback& progress = {});

}  // namespace kellvor
