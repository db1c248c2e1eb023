// The picture of the pair: both gears at their centre distance, y up as in the assembly drawing,
// antialiased, gear 1 blue, gear 2 red and the working circles grey on white.
#pragma once

#include <cstdint>
#include <optional>

#include "outline/pair_placement.h"
#include "outline/progress.h"
#include "preview/preview_raster.h"

namespace kellvor {

// Colours of the pair's picture.
inline constexpr Rgb kPairBackground{255, 255, 255};
inline constexpr Rgb kPairGear1{0, 0, 255};
inline constexpr Rgb kPairGear2{255, 0, 0};
inline constexpr Rgb kPairWorkingCircles{160, 160, 160};

// What the picture shows (lengths in mm): gear 2's outline in its own frame, placed by
// gear2Placement(a, z2).
struct PairPicture {
    GearOutline gear1;
    GearOutline gear2;
    double a = 0;    // centre distance
    double dw1 = 0;  // working pitch diameters
    double dw2 = 0;
};

// Paints the pair scaled to fit a width x height picture with a margin of two pixels; progress
// (may be empty) sees each tooth out of z1 + z2, its false gives nothing.
std::optional<RgbImage> paintPairPicture(const PairPicture& picture, std::int32_t width,
                                         std::int32_t height,
                                         const ProgressCallback& progress = {});

}  // namespace kellvor
