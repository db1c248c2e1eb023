#include "geometry/measuring_dimensions.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/constants.h"

namespace kellvor {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

double involute(double alpha) {
    return std::tan(alpha) - alpha;
}

// The ball centre of diameter D sits where inv(alpha_Mt) = C + D / (z mn cos alphan): C is the
// half tooth angle on the base circle less half a pitch angle, i.e. minus half the gap's angle.
// A thinning of the normal thickness acts like a smaller shift.
double gapOffset(const GearPairInput& in, const GearPairGeometry& g, double thinning) {
    const double thickness = 2 * in.x1 * std::tan(kAlphan) - thinning / in.mn;
    return g.involutalphat - kHalfPi / in.z1 + thickness / in.z1;
}

// Roll length (over rb) of the contact point for the ball centre at alpha_Mt = alpha. The ball
// touches the helicoid along its normal, which lies in the plane tangent to the base cylinder at
// the base helix angle: seen in the transverse section the contact is (D/2) cos(betab) before
// the centre on the same base tangent, and D/2 = (inv(alpha) - C) rb cos(betab).
double contactRoll(double alpha, double C, double betab) {
    const double cb = std::cos(betab);
    return std::tan(alpha) - (involute(alpha) - C) * cb * cb;
}

}  // namespace

double defaultBallDiameter(double mn) {
    return std::round(mn * 168.0) / 100.0;
}

double ballContactRadius(const GearPairInput& in, const GearPairGeometry& g, double DM,
                         double thinning) {
    const double C = gapOffset(in, g, thinning);
    const double alpha = solveInvolute(C + DM / (in.z1 * in.mn * std::cos(kAlphan))).result;
    const double roll = contactRoll(alpha, C, g.betab);
    if (!(roll >= 0))
        return kNaN;
    return g.rb1 * std::sqrt(1 + roll * roll);
}

BallRange ballRange(const GearPairInput& in, const GearPairGeometry& g, double thinning) {
    const double C = gapOffset(in, g, thinning);
    const double toDiameter = in.z1 * in.mn * std::cos(kAlphan);
    // The smallest ball has its centre on the base circle, or (C > 0, a wide gap of many teeth)
    // no size at all.
    const double alphaLow = C > 0 ? solveInvolute(C).result : 0.0;
    const double alphaHigh = kHalfPi * (1 - 1e-15);
    // The contact climbs the flank monotonically as the ball grows; bisection on alpha_Mt finds
    // the ball whose contact has the roll length `roll` (over rb).
    auto diameterFor = [&](double roll) {
        if (contactRoll(alphaLow, C, g.betab) >= roll)
            return (involute(alphaLow) - C) * toDiameter;
        // A spur gap of few teeth opens so fast that no ball reaches the tip.
        if (contactRoll(alphaHigh, C, g.betab) < roll)
            return kInf;
        double lo = alphaLow;
        double hi = alphaHigh;
        for (int i = 0; i < 200; ++i) {
            const double mid = 0.5 * (lo + hi);
            if (mid <= lo || mid >= hi)
                break;
            (contactRoll(mid, C, g.betab) < roll ? lo : hi) = mid;
        }
        return (involute(0.5 * (lo + hi)) - C) * toDiameter;
    };
    const double rb = g.rb1;
    const double rollStart = std::sqrt(std::max(0.0, g.rs1 * g.rs1 - rb * rb)) / rb;
    const double rollTip = std::sqrt(g.ra1 * g.ra1 - rb * rb) / rb;
    return {std::max(0.0, diameterFor(rollStart)), diameterFor(rollTip)};
}

GearInspection inspectGear(const GearPairInput& in, const GearPairGeometry& g, double DM,
                           double thinning) {
    GearInspection r;
    const double z = in.z1;
    const double x = in.x1;
    const double tn = std::tan(kAlphan);
    const double cn = std::cos(kAlphan);
    r.sn = in.mn * (kHalfPi + 2 * x * tn) - thinning;

    // k puts the measuring contacts near the circle d + 2 x mn; a tie goes to the smaller k.
    const double cosM = std::min(1.0, g.db1 / (g.d1 + 2 * x * in.mn));
    const double alphaM = std::acos(cosM);
    const double span = (z / kPi) * (std::tan(alphaM) - g.involutalphat) - 2 * x * tn / kPi + 0.5;
    r.k = std::max(1, static_cast<std::int32_t>(std::ceil(span - 0.5)));
    r.Wk = in.mn * cn * ((r.k - 0.5) * kPi + z * g.involutalphat) +
           2 * x * in.mn * std::sin(kAlphan) - thinning * cn;

    const double alphaMt = solveInvolute(gapOffset(in, g, thinning) + DM / (z * in.mn * cn)).result;
    // With an odd number of teeth the opposite gap is half a pitch round.
    const double across = in.z1 % 2 == 0 ? g.db1 / std::cos(alphaMt)
                                         : g.db1 * std::cos(kHalfPi / z) / std::cos(alphaMt);
    r.ballContact = ballContactRadius(in, g, DM, thinning);
    r.ball = ballRange(in, g, thinning);
    const bool onInvolute = r.ballContact >= g.rs1 && r.ballContact <= g.ra1;
    r.Md = onInvolute ? across + DM : kNaN;
    return r;
}

InspectionDimensions inspectGearPair(const GearPairInput& input, const GearPairGeometry& geometry,
                                     const GearPairGeometry& swapped, double DM, double thinning) {
    InspectionDimensions d;
    d.gears[0] = inspectGear(input, geometry, DM, thinning);
    d.gears[1] = inspectGear(swappedInput(input), swapped, DM, thinning);
    d.DM = DM;
    d.thinning = thinning;
    return d;
}

}  // namespace kellvor
