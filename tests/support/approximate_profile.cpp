#include "support/approximate_profile.h"

#include <cmath>

#include "geometry/constants.h"

namespace kellvor::test {

FlankProfile buildApproximateFlankProfile(const GearPairGeometry& g, double x1,
                                          std::int32_t segmentCount) {
    FlankProfile p;
    const double rb = g.rb1;
    const double h = (g.ra1 - g.rs1) / segmentCount;
    const double psi0 = (2 * (std::tan(g.alphat) * x1) + kHalfPi) * g.mt / g.d1 + g.involutalphay;
    const std::int32_t m = segmentCount + 1;
    double r = g.rs1;
    p.points.resize(2 * static_cast<std::size_t>(m));
    for (std::int32_t n = 0; n < m; ++n) {
        const double alpha = std::acos(rb / r);
        const double inv = std::tan(alpha) - alpha;
        const double s = (psi0 - inv) * r * 2;
        p.points[static_cast<std::size_t>(n)] = Point2{s / 2, r * std::cos(s / r)};
        r = r + h;
    }
    for (std::int32_t j = 0; j < m; ++j) {
        const Point2 q = p.points[static_cast<std::size_t>(m - 1 - j)];
        p.points[static_cast<std::size_t>(m + j)] = Point2{-q.x, q.y};
    }
    return p;
}

}  // namespace kellvor::test
