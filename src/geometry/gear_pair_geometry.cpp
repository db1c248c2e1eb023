#include "geometry/gear_pair_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "geometry/constants.h"

namespace kellvor {
namespace {

double usableInvoluteDiameter(double df, double mt) {
    return mt * kUsableInvoluteAllowance + df;
}

// The involute starts at the base circle when that lies outside the usable involute diameter,
// otherwise at the usable involute diameter.
double involuteStartRadius(double db, double dNf) {
    return db > dNf ? db * 0.5 : dNf * 0.5;
}

}  // namespace

InvoluteIteration solveInvolute(double target) {
    // Newton on f(a) = tan a - a - target, f'(a) = tan^2 a. The start value comes from the
    // series inv(a) ~ a^3 / 3, which lies above the root; f is convex there, so the iterates fall
    // monotonically and quadratically onto it. Beyond about 66 degrees (a measuring ball's centre
    // can lie there) that start passes pi/2; pi/2 - 1/(target + pi/2) lies above the root too,
    // since cot e > 1/e - e/3, and the lower start is taken. At the end rounding makes Newton hop
    // between neighbouring doubles, so the iteration stops when a step is within 2 ulp or the
    // residual's magnitude no longer falls, and keeps the iterate with the smallest residual. A
    // negative target has no real start value: the result is then not a number.
    InvoluteIteration it;
    it.start = std::min(std::pow(target * 3, kStartExponent), kHalfPi - 1 / (target + kHalfPi));
    double alpha = it.start;
    double bestAbs = std::numeric_limits<double>::infinity();
    it.result = std::numeric_limits<double>::quiet_NaN();
    for (;;) {
        const double t = std::tan(alpha);
        const double residual = (t - alpha) - target;
        if (it.updates < static_cast<int>(it.iterates.size()))
            it.iterates[static_cast<std::size_t>(it.updates)] = alpha;
        if (!(std::fabs(residual) < bestAbs))
            break;
        it.result = alpha;
        bestAbs = std::fabs(residual);
        if (residual == 0 || it.updates == kIterationCap)
            break;
        const double step = residual / (t * t);
        const double before = alpha;
        alpha = alpha - step;
        ++it.updates;
        const double ulp = std::nextafter(before, std::numeric_limits<double>::infinity()) - before;
        if (std::fabs(step) <= 2 * ulp) {
            // One more residual decides between the last two iterates.
            const double tn = std::tan(alpha);
            if (std::fabs((tn - alpha) - target) < bestAbs)
                it.result = alpha;
            break;
        }
    }
    return it;
}

GearPairGeometry computeGearPairGeometry(const GearPairInput& in) {
    GearPairGeometry g;
    const double z1 = in.z1;
    const double z2 = in.z2;
    const double betaRad = in.beta * kDegToRad;

    g.u = z2 / z1;
    const double hP = in.mn * kDedendumFactor;
    const double tn = std::tan(kAlphan);
    const double cb = std::cos(betaRad);
    g.alphat = std::atan(tn / cb);
    g.involutalphay = tn - kAlphan;
    g.mt = in.mn / cb;
    g.d1 = (in.mn * z1) / cb;
    g.d2 = (in.mn * z2) / cb;
    const double sb = std::sin(betaRad);
    g.pn = in.mn * kPi;
    g.epsilonbeta = (sb * in.b) / g.pn;
    const double cn = std::cos(kAlphan);
    g.betab = std::asin(sb * cn);
    const double ct = std::cos(g.alphat);
    g.db1 = ct * g.d1;
    g.db2 = ct * g.d2;
    g.ad = (g.d2 + g.d1) * 0.5;
    const double tt = std::tan(g.alphat);
    g.involutalphat = tt - g.alphat;
    g.xsum = in.x2 + in.x1;
    const double zs = z2 + z1;
    g.involutalphawt = (g.xsum * tn * 2) / zs + g.involutalphat;
    // Without a shift sum the pair runs at its reference centre distance; taking that exactly
    // keeps the tip alteration at exactly 0.
    const bool referenceDistance = g.xsum == 0;
    g.alphawt = referenceDistance ? g.alphat : solveInvolute(g.involutalphawt).result;
    const double cw = std::cos(g.alphawt);
    g.a = referenceDistance ? g.ad : in.mn * 0.5 / cb * zs * ct / cw;
    g.dw1 = g.db1 / cw;
    g.dw2 = g.db2 / cw;
    // Working pressure angle in the normal section from the exact relation
    // tan(alphawn) = tan(alphawt) cos(betaw), with the helix angle at the working pitch
    // circle tan(betaw) = tan(beta) dw1 / d1. For spur gears it is alphawt itself.
    const double betaw = std::atan(std::tan(betaRad) * g.dw1 / g.d1);
    g.alphawn = std::atan(std::tan(g.alphawt) * std::cos(betaw));
    g.pt = g.mt * kPi;
    g.pen = g.pn * cn;
    g.pet = ct * g.pt;
    g.da1 = (in.x1 + 1) * in.mn * 2 + g.d1;
    g.da2 = (in.x2 + 1) * in.mn * 2 + g.d2;
    g.df1 = (in.x1 * in.mn * 2 + g.d1) - hP * 2;
    g.df2 = (in.x2 * in.mn * 2 + g.d2) - hP * 2;
    const double tw = std::tan(g.alphawt);
    const double e1 = (std::sqrt(std::pow(g.da1 / g.db1, 2) - 1) - tw) * z1 * kInvTwoPi;
    const double e2 = (std::sqrt(std::pow(g.da2 / g.db2, 2) - 1) - tw) * z2 * kInvTwoPi;
    g.epsilonalpha = e2 + e1;
    // Tip alteration as a factor of the module, as the report labels it.
    g.k = ((g.a - g.ad) - g.xsum * in.mn) / in.mn;
    g.acontrol = ct * g.ad / cw;
    g.rb1 = g.db1 * 0.5;
    g.ra1 = g.da1 * 0.5;
    g.rf1 = g.df1 * 0.5;
    g.dNf = usableInvoluteDiameter(g.df1, g.mt);
    g.baseAboveUsable = g.db1 > g.dNf;
    g.rs1 = involuteStartRadius(g.db1, g.dNf);
    g.rs2 = involuteStartRadius(g.db2, usableInvoluteDiameter(g.df2, g.mt));
    return g;
}

}  // namespace kellvor
