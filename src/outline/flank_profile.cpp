#include "outline/flank_profile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kellvor {

double baseHalfToothAngle(const GearPairGeometry& geometry, double x1) {
    // The arc thickness at the reference circle, (pi/2 + 2 x1 tan(alphan)) mt, over d1, plus the
    // involute of the transverse pressure angle that carries it down to the base circle.
    return (2 * (std::tan(kAlphan) * x1) + kHalfPi) * geometry.mt / geometry.d1 +
           geometry.involutalphat;
}

FlankTip findFlankTip(double rb, double psi0, double ra) {
    // The flank's polar angle psi0 - inv(alpha) reaches 0 where inv(alpha) = psi0: there the two
    // involutes of the tooth cross on its centre line. Below the tip circle the tooth ends there,
    // since beyond it the flanks would run on past each other and the contour cross itself.
    const double crossing = rb / std::cos(solveInvolute(psi0).result);
    if (crossing < ra)
        return {crossing, true};
    return {ra, false};
}

void appendInvolute(std::vector<Point2>& points, double rb, double psi0, double r0,
                    const FlankTip& tip, std::int32_t segments) {
    const double ra = tip.radius;
    // With no segments the step is a division by zero; only the start radius is ever used then.
    const double h = (ra - r0) / segments;
    double r = r0;
    for (std::int32_t n = 0; n <= segments; ++n) {
        points.push_back(involutePoint(rb, psi0, r));
        // Accumulated like the drawing was always built, not r0 + n h.
        r = r + h;
    }
    // A pointed tooth ends exactly on its centre line, so the two flanks meet and never cross.
    if (tip.pointed && segments > 0)
        points.back() = Point2{0.0, ra};
}

void appendMirror(std::vector<Point2>& points) {
    const std::size_t m = points.size();
    points.reserve(2 * m);
    for (std::size_t j = 0; j < m; ++j) {
        const Point2 q = points[m - 1 - j];
        // 0.0 - x rather than -x, so that a point on the centre line stays +0 and prints as "0".
        points.push_back(Point2{0.0 - q.x, q.y});
    }
}

FlankProfile buildFlankProfile(const GearPairGeometry& geometry, double x1,
                               std::int32_t segmentCount, double thinning) {
    // The range test rejects segment counts outside 0..499 before we get here; the clamp keeps
    // a caller that did not test from asking for billions of points.
    const std::int32_t segments = std::clamp(segmentCount, 0, kMaxSegmentCount);
    const double rb = geometry.rb1;
    // A thinned flank is the same involute turned toward the centre line, so only the half-tooth
    // angle at the base circle shrinks (exactly unchanged for a thinning of 0).
    const double psi0 = baseHalfToothAngle(geometry, x1) - thinning;
    const FlankTip tip = findFlankTip(rb, psi0, geometry.ra1);

    FlankProfile profile;
    profile.tipRadius = tip.radius;
    profile.pointed = tip.pointed;
    profile.baseRadius = rb;
    profile.baseAngle = psi0;
    profile.points.reserve(2 * (static_cast<std::size_t>(segments) + 1));
    appendInvolute(profile.points, rb, psi0, geometry.rs1, tip, segments);
    appendMirror(profile.points);
    return profile;
}

}  // namespace kellvor
