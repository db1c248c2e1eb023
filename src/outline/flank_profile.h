// The outline of one tooth: the involute flank and its mirror image.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "geometry/constants.h"
#include "geometry/gear_pair_geometry.h"
#include "outline/point.h"

namespace kellvor {

// Points of one tooth in the tooth frame: first flank upwards (x > 0), then its mirror downwards.
struct FlankProfile {
    std::vector<Point2> points;  // the N points of the tooth, N = 2 (segmentCount + 1)
    double tipRadius = 0;  // radius of the flank's last point: the tip circle, or where a pointed
                           // tooth's flanks meet on its centre line
    bool pointed = false;  // the flanks meet below the tip circle; the tip land has no length

    // N, the number of points.
    std::int32_t count() const { return static_cast<std::int32_t>(points.size()); }
    // The N points in order.
    std::span<const Point2> used() const { return points; }
};

// Involute flank points from the start radius rs1 to the tip radius ra1, or to the radius where
// the two involutes of the tooth cross when that lies below the tip circle (a pointed tooth: the
// last point of each flank is then that crossing on the centre line). segmentCount in 0..499
// (values outside are clamped to that range). thinning (radians, for backlash) turns each flank
// about the centre toward the tooth's centre line; the crossing moves with it; 0 leaves it.
FlankProfile buildFlankProfile(const GearPairGeometry& geometry, double x1,
                               std::int32_t segmentCount, double thinning = 0.0);

}  // namespace kellvor
