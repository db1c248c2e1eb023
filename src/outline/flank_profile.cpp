#include "outline/flank_profile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kellvor {

FlankProfile buildFlankProfile(const GearPairGeometry& geometry, double x1,
                               std::int32_t segmentCount) {
    // The range test rejects segment counts outside 0..499 before we get here; the clamp only
    // makes an overrun of the fixed capacity impossible whatever the caller passes.
    const std::int32_t segments = std::clamp(segmentCount, 0, kMaxSegmentCount);
    const std::int32_t m = segments + 1;

    const double rb = geometry.rb1;
    const double r0 = geometry.rs1;
    const double ra = geometry.ra1;
    // With no segments the step is a division by zero; only the start radius is ever used then.
    const double h = (ra - r0) / segments;

    // Half-tooth angle at the base circle in the transverse section: the arc thickness at the
    // reference circle, (pi/2 + 2 x1 tan(alphan)) mt, over d1, plus the involute of the
    // transverse pressure angle that carries it down to the base circle.
    const double psi0 = (2 * (std::tan(kAlphan) * x1) + kHalfPi) * geometry.mt / geometry.d1 +
                        geometry.involutalphat;

    FlankProfile profile;
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
    // The second flank mirrors the first across the centre line, from the tip back down.
    for (std::int32_t j = 0; j < m; ++j) {
        const Point2 q = profile.points[static_cast<std::size_t>(m - 1 - j)];
        profile.points[static_cast<std::size_t>(m + j)] = Point2{-q.x, q.y};
    }
    profile.count = 2 * m;
    return profile;
}

}  // namespace kellvor
