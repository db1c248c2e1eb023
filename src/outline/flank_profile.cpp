#include "outline/flank_profile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kellvor {

FlankProfile buildFlankProfile(const GearPairGeometry& geometry, double x1,
                               std::int32_t segmentCount, double thinning) {
    // The range test rejects segment counts outside 0..499 before we get here; the clamp keeps
    // a caller that did not test from asking for billions of points.
    const std::int32_t segments = std::clamp(segmentCount, 0, kMaxSegmentCount);
    const std::int32_t m = segments + 1;

    const double rb = geometry.rb1;
    const double r0 = geometry.rs1;

    // Half-tooth angle at the base circle in the transverse section: the arc thickness at the
    // reference circle, (pi/2 + 2 x1 tan(alphan)) mt, over d1, plus the involute of the
    // transverse pressure angle that carries it down to the base circle. A thinned flank is the
    // same involute turned toward the centre line, so only this angle shrinks (exactly unchanged
    // for a thinning of 0).
    const double psi0 = (2 * (std::tan(kAlphan) * x1) + kHalfPi) * geometry.mt / geometry.d1 +
                        geometry.involutalphat - thinning;

    // The flank's polar angle psi0 - inv(alpha) reaches 0 where inv(alpha) = psi0: there the two
    // involutes of the tooth cross on its centre line. Below the tip circle the tooth ends there,
    // since beyond it the flanks would run on past each other and the contour cross itself.
    FlankProfile profile;
    profile.tipRadius = geometry.ra1;
    const double crossing = rb / std::cos(solveInvolute(psi0).result);
    if (crossing < geometry.ra1) {
        profile.tipRadius = crossing;
        profile.pointed = true;
    }
    const double ra = profile.tipRadius;
    // With no segments the step is a division by zero; only the start radius is ever used then.
    const double h = (ra - r0) / segments;
    profile.points.resize(2 * static_cast<std::size_t>(m));

    double r = r0;
    for (std::int32_t n = 0; n < m; ++n) {
        // On the involute the polar angle falls by inv(alpha) from the base circle outwards;
        // the point lies at exactly radius r, theta from the tooth's centre line.
        const double alpha = std::acos(rb / r);
        const double inv = std::tan(alpha) - alpha;
        const double theta = psi0 - inv;
        profile.points[static_cast<std::size_t>(n)] =
            Point2{r * std::sin(theta), r * std::cos(theta)};
        // Accumulated like the drawing was always built, not r0 + n h.
        r = r + h;
    }
    // A pointed tooth ends exactly on its centre line, so the two flanks meet and never cross.
    if (profile.pointed && segments > 0)
        profile.points[static_cast<std::size_t>(m - 1)] = Point2{0.0, ra};
    // The second flank mirrors the first across the centre line, from the tip back down.
    for (std::int32_t j = 0; j < m; ++j) {
        const Point2 q = profile.points[static_cast<std::size_t>(m - 1 - j)];
        // 0.0 - x rather than -x, so that a point on the centre line stays +0 and prints as "0".
        profile.points[static_cast<std::size_t>(m + j)] = Point2{0.0 - q.x, q.y};
    }
    return profile;
}

}  // namespace kellvor
