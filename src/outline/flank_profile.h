// The outline of one tooth: the involute flank and its mirror image.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/constants.h"
#include "geometry/gear_pair_geometry.h"
#include "outline/point.h"

namespace kellvor {

// Points of one tooth in the tooth frame: first flank upwards (x > 0), then its mirror downwards.
struct FlankProfile {
    std::vector<Point2>
        points;            // the N points of the tooth, N = 2 (filletCount + segmentCount + 1)
    double tipRadius = 0;  // radius of the flank's last point: the tip circle, or where a pointed
                           // tooth's flanks meet on its centre line
    bool pointed = false;  // the flanks meet below the tip circle; the tip land has no length
    std::int32_t filletCount = 0;  // the first flank's leading points on a generated fillet (and
                                   // as many trailing points of the mirror); 0: all on the involute
    double baseRadius = 0;  // the involute of the first flank: base radius rb and polar angle
    double baseAngle = 0;   // psi0 from the centre line where it leaves the base circle

    // N, the number of points.
    std::int32_t count() const { return static_cast<std::int32_t>(points.size()); }
    // The N points in order.
    std::span<const Point2> used() const { return points; }
};

// Half the tooth's angle at the base circle in the transverse section, in radians: the polar
// angle from the tooth's centre line at which the first flank's involute leaves the base circle.
double baseHalfToothAngle(const GearPairGeometry& geometry, double x1);

// The point of the first flank's involute (base radius rb, angle psi0 at the base circle) at
// radius r >= rb, in the tooth frame.
inline Point2 involutePoint(double rb, double psi0, double r) {
    // On the involute the polar angle falls by inv(alpha) from the base circle outwards.
    const double alpha = std::acos(rb / r);
    const double inv = std::tan(alpha) - alpha;
    const double theta = psi0 - inv;
    return Point2{r * std::sin(theta), r * std::cos(theta)};
}

// Where the tooth's flanks end: the tip circle ra, or below it the radius where the two
// involutes (base radius rb, angle psi0) cross on the centre line.
struct FlankTip {
    double radius = 0;
    bool pointed = false;
};
FlankTip findFlankTip(double rb, double psi0, double ra);

// Appends the first flank's involute from radius r0 up to tip.radius in `segments` equal steps of
// radius (r0 alone for none); a pointed tooth's last point lies on the centre line.
void appendInvolute(std::vector<Point2>& points, double rb, double psi0, double r0,
                    const FlankTip& tip, std::int32_t segments);

// Appends the mirror image of the points (the second flank, from the tip back down).
void appendMirror(std::vector<Point2>& points);

// Involute flank points from the start radius rs1 to the tip radius ra1, or to the radius where
// the two involutes of the tooth cross when that lies below the tip circle (a pointed tooth: the
// last point of each flank is then that crossing on the centre line). segmentCount in 0..499
// (values outside are clamped to that range). thinning (radians, for backlash) turns each flank
// about the centre toward the tooth's centre line; the crossing moves with it; 0 leaves it.
FlankProfile buildFlankProfile(const GearPairGeometry& geometry, double x1,
                               std::int32_t segmentCount, double thinning = 0.0);

}  // namespace kellvor
