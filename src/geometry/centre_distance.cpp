#include "geometry/centre_distance.h"

#include <algorithm>
#include <cmath>

#include "geometry/constants.h"
#include "geometry/gear_pair_geometry.h"

namespace kellvor {
namespace {

constexpr double kShiftLimit = 0.5;
// Bisection steps: the bracket is at most 1 wide, so 200 halvings reach the last bit long before.
constexpr int kBisectionSteps = 200;

double involute(double alpha) {
    return std::tan(alpha) - alpha;
}

// Specific sliding difference zeta1 (start) - zeta2 (end) for the split x1, xsum - x1.
double slidingDifference(GearPairInput input, double xsum, double x1) {
    input.x1 = x1;
    input.x2 = xsum - x1;
    const SpecificSliding s = specificSliding(input);
    return s.zeta1 - s.zeta2;
}

}  // namespace

double touchingCentreDistance(const GearPairInput& input) {
    const GearPairGeometry g = computeGearPairGeometry(input);
    return g.ad * std::cos(g.alphat);
}

double shiftSumForCentreDistance(const GearPairInput& input, double a) {
    const GearPairGeometry g = computeGearPairGeometry(input);
    // cos(alphawt) = ad cos(alphat) / a: the base circles stay, the centres move apart.
    const double cw = g.ad * std::cos(g.alphat) / a;
    if (!(cw < 1.0) || !(cw > 0.0))
        return std::nan("");
    const double alphawt = std::acos(cw);
    const double zs = static_cast<double>(input.z1) + static_cast<double>(input.z2);
    return (involute(alphawt) - g.involutalphat) * zs / (2 * std::tan(kAlphan));
}

SpecificSliding specificSliding(const GearPairInput& input) {
    const GearPairGeometry g1 = computeGearPairGeometry(input);
    const double rb1 = g1.db1 * 0.5, rb2 = g1.db2 * 0.5;
    const double ra1 = g1.da1 * 0.5, ra2 = g1.da2 * 0.5;
    // Along the line of action the radii of curvature of the two flanks add up to a sin(alphawt).
    const double path = g1.a * std::sin(g1.alphawt);
    const double u12 = static_cast<double>(input.z1) / static_cast<double>(input.z2);
    // Start of contact: gear 2's tip on gear 1's flank near its root.
    const double rho2Start = std::sqrt(ra2 * ra2 - rb2 * rb2);
    const double rho1Start = path - rho2Start;
    // End of contact: gear 1's tip on gear 2's flank near its root.
    const double rho1End = std::sqrt(ra1 * ra1 - rb1 * rb1);
    const double rho2End = path - rho1End;
    return {1 - u12 * rho2Start / rho1Start, 1 - rho1End / (u12 * rho2End)};
}

ShiftDesign designShifts(const GearPairInput& input, double a, std::optional<double> x1,
                         std::optional<double> x2) {
    ShiftDesign d;
    d.xsum = shiftSumForCentreDistance(input, a);
    if (std::isnan(d.xsum)) {
        d.error = ShiftDesignError::noWorkingAngle;
        return d;
    }
    const auto outside = [&](int gear, double value) {
        if (std::fabs(value) <= kShiftLimit)
            return false;
        d.error = ShiftDesignError::shiftOutOfRange;
        d.gear = gear;
        d.value = value;
        return true;
    };
    if (x1 || x2) {
        d.x1 = x1 ? *x1 : d.xsum - *x2;
        d.x2 = x1 ? d.xsum - *x1 : *x2;
        if (!outside(1, d.x1))
            outside(2, d.x2);
        return d;
    }
    double lo = std::max(-kShiftLimit, d.xsum - kShiftLimit);
    double hi = std::min(kShiftLimit, d.xsum + kShiftLimit);
    d.lowestX1 = lo;
    d.highestX1 = hi;
    if (lo > hi) {
        // The sum alone needs more than both gears may carry.
        outside(d.xsum > 0 ? 2 : 1, d.xsum > 0 ? d.xsum - kShiftLimit : d.xsum + kShiftLimit);
        return d;
    }
    double flo = slidingDifference(input, d.xsum, lo);
    const double fhi = slidingDifference(input, d.xsum, hi);
    if (!(flo <= 0 && fhi >= 0) && !(flo >= 0 && fhi <= 0)) {
        d.error = ShiftDesignError::noBalance;
        return d;
    }
    // More shift on gear 1 moves its sliding down at the start and gear 2's up at the end; the
    // difference changes sign exactly once inside the bracket.
    for (int i = 0; i < kBisectionSteps && hi - lo > 0; ++i) {
        const double mid = lo + (hi - lo) * 0.5;
        if (mid <= lo || mid >= hi)
            break;
        const double fmid = slidingDifference(input, d.xsum, mid);
        if ((fmid <= 0) == (flo <= 0)) {
            lo = mid;
            flo = fmid;
        } else {
            hi = mid;
        }
    }
    d.x1 = std::fabs(flo) <= std::fabs(slidingDifference(input, d.xsum, hi)) ? lo : hi;
    d.x2 = d.xsum - d.x1;
    // A sign change across a pole (contact starting at a base circle, where the sliding grows
    // without bound) is no balance.
    GearPairInput split = input;
    split.x1 = d.x1;
    split.x2 = d.x2;
    const SpecificSliding s = specificSliding(split);
    if (!(std::fabs(s.zeta1 - s.zeta2) <= 1e-9 * (1 + std::fabs(s.zeta1))))
        d.error = ShiftDesignError::noBalance;
    return d;
}

}  // namespace kellvor
