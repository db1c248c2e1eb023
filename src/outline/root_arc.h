// The circle that closes a tooth gap, fitted through three points by Gauss-Jordan elimination.
#pragma once

#include <cstdint>
#include <span>

#include "geometry/gear_pair_geometry.h"
#include "outline/flank_profile.h"
#include "outline/point.h"

namespace kellvor {

// Centre and radius of the gap circle in the tooth frame. One record lives for the whole run.
struct RootArc {
    double centreX = 0;
    double centreY = 0;
    double radius = 0;
};

// Reduces the row-major rows x cols matrix in place without row swaps (a zero pivot row gets a
// later row added); pivots run over the columns but the last, so rows must be cols - 1.
void solveGaussJordan(std::span<double> matrix, std::int32_t rows, std::int32_t cols);

// Fits the circle through p0, p1, p2 into arc (in/out); with no finite circle through them
// (collinear or coincident points, NaN) returns false and leaves arc as it was.
bool fitCircle(Point2 p0, Point2 p1, Point2 p2, RootArc& arc);

// Lower end of the next tooth's second flank: profile point N-1 turned clockwise by pitchAngle
// degrees (one end of the gap after the first tooth; profile point 0 is the other).
Point2 nextToothFlankEnd(const FlankProfile& profile, double pitchAngle);

// Fits the arc of the gap after the first tooth: through the next tooth's lower flank end, this
// tooth's lower flank end and the root circle mid-gap. arc is in/out; false keeps it unchanged.
bool fitRootArc(const FlankProfile& profile, const GearPairGeometry& geometry, std::int32_t z1,
                RootArc& arc);

}  // namespace kellvor
