// The preview command: the outline of gear 1 painted into an image of the frame's client size,
// and the picture written as a PNG file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>

#include "commands/command_prologue.h"
#include "commands/command_result.h"
#include "geometry/gear_pair_input.h"
#include "preview/preview_raster.h"

namespace kellvor {

// The picture of a preview, valid when the result is ok.
struct PreviewResult {
    CommandResult result;
    RgbImage image;
};

// What the preview is asked to draw.
struct PreviewRequest {
    GearPairInput input;
    std::int32_t width = 208;  // picture size in pixels
    std::int32_t height = 194;
    double backlash = 0;  // normal backlash jn in mm: thins the flanks of both gears
    bool pair = false;    // both gears, antialiased (paintPairPicture), instead of gear 1
    RootForm root = RootForm::threePointArc;  // how the tooth gaps are closed
};

// Range test, geometry, profile, "n: " line to console, fit, and the drawing painted into a
// width x height image: gear 1 as the dialog's preview draws it, or the pair. fit may replace the
// root arc fit (a test seam). A picture larger than the memory the process may still take, or a
// failed allocation, ends it with a message.
PreviewResult runPreviewCommand(const PreviewRequest& request, std::ostream& console,
                                const ProgressCallback& progress = {}, const RootArcFit& fit = {});

// The preview of gear 1 of input without backlash.
inline PreviewResult runPreviewCommand(const GearPairInput& input, std::int32_t width,
                                       std::int32_t height, std::ostream& console,
                                       const ProgressCallback& progress = {},
                                       const RootArcFit& fit = {}) {
    return runPreviewCommand(PreviewRequest{input, width, height}, console, progress, fit);
}

// Writes image as a PNG file at path through the safe replacement: an existing file is replaced
// only by a complete picture. progress(0, 0) is called while another run holds the folder and
// before the rename; false from it cancels. The result names the file and the reason on failure.
CommandResult writePreviewPicture(const RgbImage& image, const std::filesystem::path& path,
                                  const ProgressCallback& progress = {});

}  // namespace kellvor
