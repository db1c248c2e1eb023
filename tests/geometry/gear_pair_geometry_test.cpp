#include "geometry/gear_pair_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "geometry/constants.h"
#include "support/printed.h"

namespace kellvor {
namespace {

using test::printed;

GearPairInput pair(int z1, int z2, double mn, double b, double beta, double x1, double x2) {
    return GearPairInput{z1, z2, mn, b, beta, x1, x2, 10};
}

double residual(double alpha, double target) {
    return (std::tan(alpha) - alpha) - target;
}

// The worked iteration: the start value and the first two Newton updates with their residuals
// as they always were, then on to the double whose residual is smallest.
TEST(SolveInvolute, IterationExampleConvergesToTheLastBits) {
    const GearPairGeometry g = computeGearPairGeometry(pair(20, 40, 2, 20, 10, 0.2, 0.1));
    EXPECT_EQ(printed(g.alphat), "0.354015");
    EXPECT_EQ(printed(g.alphat * kRadToDeg), "20.2836");
    EXPECT_EQ(printed(g.involutalphawt), "0.0192099");

    const InvoluteIteration it = solveInvolute(g.involutalphawt);
    EXPECT_EQ(it.iterates[0], it.start);
    EXPECT_EQ(printed(it.start), "0.386262");
    EXPECT_EQ(printed(residual(it.start, g.involutalphawt)), "0.00122012");
    EXPECT_EQ(printed(it.iterates[1]), "0.378885");
    EXPECT_EQ(printed(residual(it.iterates[1], g.involutalphawt)), "2.55597e-05");
    EXPECT_EQ(printed(it.iterates[2]), "0.378724");
    EXPECT_EQ(printed(residual(it.iterates[2], g.involutalphawt)), "1.19916e-08");
    // Quadratic convergence needs only a few more steps to the last bits.
    EXPECT_GT(it.updates, 2);
    EXPECT_LE(it.updates, 6);
    EXPECT_EQ(g.alphawt, it.result);
    EXPECT_EQ(printed(g.alphawt * kRadToDeg), "21.6993");
    EXPECT_LT(std::fabs(residual(it.result, g.involutalphawt)), 1e-16);
}

// The root of tan(a) - a = target in extended precision, by Newton's method from above.
long double extendedRoot(double target) {
    long double a = std::cbrt(3.0L * target) * 1.1L;
    for (int i = 0; i < 60; ++i) {
        const long double t = std::tan(a);
        a -= ((t - a) - target) / (t * t);
    }
    return a;
}

// Over many targets the result lies at the root, as extended precision finds it, within what
// double arithmetic can tell apart: a few units in the last place, plus the rounding of the
// residual's terms divided by its slope tan^2 (small angles are ill-conditioned).
TEST(SolveInvolute, ResultIsTheRootToTheLastBits) {
    std::uint64_t state = 99;
    for (int i = 0; i < 5000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double target = static_cast<double>(state >> 11) * 0x1.0p-53 * 0.2 + 1e-7;
        const InvoluteIteration it = solveInvolute(target);
        const long double root = extendedRoot(target);
        const double ulp = std::nextafter(it.result, 2.0) - it.result;
        const double t = std::tan(it.result);
        const double conditioning = 4 * 0x1.0p-52 * (t + it.result + target) / (t * t);
        ASSERT_LE(std::fabs(static_cast<double>(it.result - root)), 4 * ulp + conditioning)
            << target;
        ASSERT_LE(it.updates, 8) << target;
    }
    EXPECT_TRUE(std::isnan(solveInvolute(-0.01).result));
    EXPECT_EQ(solveInvolute(0.0).result, 0.0);
}

// Large targets, as the centre of a large measuring ball gives, lie near a right angle where
// the cube-root start would pass pi/2: the result is still the root, found by bisection in
// extended precision.
TEST(SolveInvolute, LargeTargetsNearARightAngle) {
    for (double target = 0.05; target < 1e4; target *= 1.37) {
        long double lo = 0, hi = 1.5707963267948966L;
        for (int i = 0; i < 200; ++i) {
            const long double mid = (lo + hi) / 2;
            ((std::tan(mid) - mid) < target ? lo : hi) = mid;
        }
        const InvoluteIteration it = solveInvolute(target);
        const double ulp = std::nextafter(it.result, 2.0) - it.result;
        // Near pi/2 the residual's slope tan^2 is large: the root is well conditioned there.
        EXPECT_LE(std::fabs(static_cast<double>(it.result - lo)), 4 * ulp) << target;
        EXPECT_LE(it.updates, 12) << target;
    }
}

TEST(ComputeGearPairGeometry, IterationExampleQuantities) {
    const GearPairGeometry g = computeGearPairGeometry(pair(20, 40, 2, 20, 10, 0.2, 0.1));
    EXPECT_EQ(printed(g.a), "61.506");
    // The tip alteration is a factor of the module; times mn it is the length -0.0196094 (the
    // iteration that stopped at the first residual below 1e-5 gave -0.0196075).
    EXPECT_EQ(printed(g.k * 2), "-0.0196094");
    EXPECT_EQ(printed(g.epsilonalpha), "1.53075");
    EXPECT_EQ(printed(g.epsilonbeta), "0.552739");
    EXPECT_EQ(printed(g.db1), "38.0983");
    EXPECT_EQ(printed(g.dNf), "37.2294");
    EXPECT_TRUE(g.baseAboveUsable);
    EXPECT_EQ(g.rs1, g.rb1);
    EXPECT_EQ(printed(g.rs1), "19.0492");
}

// Pairs whose centre distance a stopped iteration got wrong in the sixth digit (and the second
// by 0.09 mm): the exact working pressure angle gives the true values.
TEST(ComputeGearPairGeometry, CentreDistanceFromTheExactWorkingPressureAngle) {
    const GearPairGeometry small =
        computeGearPairGeometry(pair(9, 24, 31.5419, 20, 7.76157, -0.235104, -0.412));
    EXPECT_EQ(printed(small.a), "498.277");
    EXPECT_EQ(printed(small.alphawt * kRadToDeg), "8.31353");
    const GearPairGeometry large =
        computeGearPairGeometry(pair(18, 128, 50, 20, 0, -0.275, -0.238));
    EXPECT_EQ(printed(large.a), "3623.61");
    EXPECT_EQ(printed(large.alphawt * kRadToDeg), "18.8201");
}

// rs2 is what rs1 is for the pair seen from gear 2.
TEST(ComputeGearPairGeometry, InvoluteStartOfGearTwoIsThatOfTheSwappedPair) {
    for (const int z1 : {4, 17, 35, 36, 200})
        for (const int z2 : {4, 30, 40, 1000})
            for (const double beta : {0.0, 20.0, 30.0})
                for (const double x : {-0.5, 0.0, 0.5}) {
                    const GearPairInput in = pair(z1, z2, 3, 20, beta, -x, x);
                    EXPECT_EQ(computeGearPairGeometry(in).rs2,
                              computeGearPairGeometry(swappedInput(in)).rs1)
                        << z1 << " " << z2 << " " << beta << " " << x;
                }
}

// Without a shift sum the pair runs at its reference centre distance, exactly: the working
// angle is the transverse angle and the tip alteration is 0.
TEST(ComputeGearPairGeometry, ZeroShiftSumRunsAtTheReferenceCentreDistance) {
    for (const int z1 : {4, 17, 35, 200})
        for (const int z2 : {4, 40, 1000})
            for (const double beta : {0.0, 8.5, 20.0, 30.0})
                for (const double x1 : {0.0, 0.1, -0.35, 0.5}) {
                    const GearPairGeometry g =
                        computeGearPairGeometry(pair(z1, z2, 8, 45, beta, x1, -x1));
                    ASSERT_EQ(g.xsum, 0.0);
                    EXPECT_EQ(g.alphawt, g.alphat) << z1 << " " << z2 << " " << beta;
                    EXPECT_EQ(g.a, g.ad) << z1 << " " << z2 << " " << beta;
                    EXPECT_EQ(g.k, 0.0) << z1 << " " << z2 << " " << beta;
                }
    EXPECT_EQ(printed(computeGearPairGeometry(GearPairInput{}).k), "0");
}

TEST(ComputeGearPairGeometry, SpurGearHasTransverseEqualNormal) {
    const GearPairGeometry g = computeGearPairGeometry(pair(20, 40, 2, 20, 0, 0, 0));
    EXPECT_EQ(g.mt, 2.0);
    EXPECT_EQ(g.betab, 0.0);
    EXPECT_EQ(g.epsilonbeta, 0.0);
    EXPECT_EQ(printed(g.alphat * kRadToDeg), "20");
    EXPECT_EQ(printed(g.alphawn * kRadToDeg), printed(g.alphawt * kRadToDeg));
    // With beta = 0 the exact working normal angle is the working transverse angle.
    EXPECT_DOUBLE_EQ(g.alphawn, g.alphawt);
}

TEST(ComputeGearPairGeometry, BaseCircleAboveUsableUpTo34Teeth) {
    for (const double mn : {0.5, 2.0, 50.0}) {
        const GearPairGeometry g34 = computeGearPairGeometry(pair(34, 40, mn, 20, 0, 0, 0));
        const GearPairGeometry g35 = computeGearPairGeometry(pair(35, 40, mn, 20, 0, 0, 0));
        EXPECT_TRUE(g34.baseAboveUsable) << mn;
        EXPECT_FALSE(g35.baseAboveUsable) << mn;
        EXPECT_EQ(g35.rs1, g35.dNf * 0.5);
    }
    const GearPairGeometry g = computeGearPairGeometry(pair(35, 40, 2, 20, 0, 0, 0));
    EXPECT_EQ(printed(g.db1), "65.7785");
    EXPECT_EQ(printed(g.dNf), "65.8");
    EXPECT_EQ(printed(g.rs1), "32.9");
}

TEST(ComputeGearPairGeometry, NegativeTargetLeavesWorkingQuantitiesNaN) {
    const GearPairGeometry g = computeGearPairGeometry(pair(4, 4, 2, 20, 0, -0.5, -0.5));
    EXPECT_EQ(printed(g.involutalphawt), "-0.0760882");
    for (const double v :
         {g.alphawt, g.a, g.alphawn, g.dw1, g.dw2, g.epsilonalpha, g.k, g.acontrol})
        EXPECT_TRUE(std::isnan(v));
    EXPECT_EQ(printed(g.da1), "10");
    EXPECT_EQ(printed(g.df1), "1");
    EXPECT_EQ(printed(g.dNf), "1.8");
}

TEST(ComputeGearPairGeometry, WorkingNormalAngleIsANumberWhereTheOldFormulaFailed) {
    const GearPairGeometry g = computeGearPairGeometry(pair(4, 17, 2, 20, 20, -0.5, 0));
    EXPECT_TRUE(std::isfinite(g.alphawt));
    // The cosine form (ad / a) cos(alphan) exceeds 1 here ...
    EXPECT_GT(g.ad / g.a * std::cos(kAlphan), 1.0);
    // ... while the exact relation gives a working normal angle below the transverse one.
    EXPECT_TRUE(std::isfinite(g.alphawn));
    EXPECT_GT(g.alphawn, 0.0);
    EXPECT_LT(g.alphawn, g.alphawt);
}

}  // namespace
}  // namespace kellvor
