// The picture of the About box: a shaded meshing pair of helical gears, drawn from their outlines.
#pragma once

#include <QImage>

namespace kellvor {

// Size of the picture in pixels.
inline constexpr int kPictureWidth = 308;
inline constexpr int kPictureHeight = 287;

// Renders a small helical pinion meshing with a larger wheel at their working centre distance:
// both outlines come from the flank profile, root arc and outline walk of the core, stacked in
// depth with the helix twist and lit from the upper left. kPictureWidth x kPictureHeight, opaque.
QImage renderGearPairPicture();

}  // namespace kellvor
