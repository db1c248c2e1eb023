// Plane points of the tooth frame and the clockwise turn about the gear centre.
#pragma once

#include <cmath>

#include "geometry/constants.h"

namespace kellvor {

// A point of the tooth frame: origin at the gear centre, +y through the first tooth's tip.
struct Point2 {
    double x = 0;
    double y = 0;

    // The same point, coordinate by coordinate (+0 and -0 are one; the tip of a pointed tooth
    // is one point twice).
    friend bool operator==(const Point2&, const Point2&) = default;
};

// Cosine and sine of one clockwise turn, each rounded to double once.
struct Rotation {
    double c = 1;
    double s = 0;
};

// The clockwise turn by phi degrees.
inline Rotation clockwiseRotation(double phiDegrees) {
    const double rad = phiDegrees * kDegToRad;
    return Rotation{std::cos(rad), std::sin(rad)};
}

// p turned clockwise: x' = c x + s y, y' = c y - s x (exact for a turn of 0).
inline Point2 turn(const Rotation& r, Point2 p) {
    return Point2{r.c * p.x + r.s * p.y, r.c * p.y - r.s * p.x};
}

}  // namespace kellvor
