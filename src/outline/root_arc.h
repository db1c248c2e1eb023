// The circle that closes a tooth gap, fitted through three points by Gauss-Jordan elimination.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "outline/flank_profile.h"
#include "outline/point.h"

namespace kellvor {

// Centre and radius of the gap circle in the tooth frame.
struct RootArc {
    double centreX = 0;
    double centreY = 0;
    double radius = 0;
    bool clockwise = false;  // the contour runs clockwise along it from a tooth to the next: the
                             // root circle about the gear centre; counter-clockwise for the
                             // circle fitted in the gap
};

// Reduces the row-major rows x cols matrix in place without row swaps (a zero pivot row gets a
// later row added); pivots run over the columns but the last, so rows must be cols - 1.
void solveGaussJordan(std::span<double> matrix, std::int32_t rows, std::int32_t cols);

// The circle through p0, p1, p2; nothing when there is no finite circle through them (collinear
// or coincident points, NaN).
std::optional<RootArc> fitCircle(Point2 p0, Point2 p1, Point2 p2);

// Lower end of the next tooth's second flank: profile point N-1 turned clockwise by pitchAngle
// degrees (one end of the gap after the first tooth; profile point 0 is the other).
Point2 nextToothFlankEnd(const FlankProfile& profile, double pitchAngle);

// The circle of the gap after the first tooth: through the next tooth's lower flank end, this
// tooth's lower flank end and the root circle (radius rf) mid-gap; nothing when none exists.
std::optional<RootArc> fitRootArc(const FlankProfile& profile, double rf, std::int32_t z);

}  // namespace kellvor
