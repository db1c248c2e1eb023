#include "geometry/gear_pair_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(SolveInvolute, IterationExampleStopsAfterTwoUpdates) {
    const GearPairGeometry g = computeGearPairGeometry(pair(20, 40, 2, 20, 10, 0.2, 0.1));
    EXPECT_EQ(printed(g.alphat), "0.354015");
    EXPECT_EQ(printed(g.alphat * kRadToDeg), "20.2836");
    EXPECT_EQ(printed(g.involutalphawt), "0.0192099");

    const InvoluteIteration it = solveInvolute(g.involutalphawt);
    EXPECT_EQ(printed(it.start), "0.386262");
    EXPECT_EQ(printed(residual(it.start, g.involutalphawt)), "0.00122012");
    const double t0 = std::tan(it.start);
    const double alpha1 = it.start - residual(it.start, g.involutalphawt) / (t0 * t0);
    EXPECT_EQ(printed(alpha1), "0.378885");
    EXPECT_EQ(printed(residual(alpha1, g.involutalphawt)), "2.55597e-05");
    EXPECT_EQ(it.updates, 2);
    EXPECT_EQ(printed(it.result), "0.378724");
    EXPECT_EQ(printed(residual(it.result, g.involutalphawt)), "1.19916e-08");
    EXPECT_EQ(g.alphawt, it.result);
    EXPECT_EQ(printed(g.alphawt * kRadToDeg), "21.6993");
}

TEST(ComputeGearPairGeometry, IterationExampleQuantities) {
    const GearPairGeometry g = computeGearPairGeometry(pair(20, 40, 2, 20, 10, 0.2, 0.1));
    EXPECT_EQ(printed(g.a), "61.506");
    // The tip alteration is a factor of the module; times mn it is the length -0.0196075.
    EXPECT_EQ(printed(g.k * 2), "-0.0196075");
    EXPECT_EQ(printed(g.epsilonalpha), "1.53075");
    EXPECT_EQ(printed(g.epsilonbeta), "0.552739");
    EXPECT_EQ(printed(g.db1), "38.0983");
    EXPECT_EQ(printed(g.dNf), "37.2294");
    EXPECT_TRUE(g.baseAboveUsable);
    EXPECT_EQ(g.rs1, g.rb1);
    EXPECT_EQ(printed(g.rs1), "19.0492");
}

TEST(ComputeGearPairGeometry, ZeroShiftSumStopsAtFirstSmallResidual) {
    const GearPairGeometry g = computeGearPairGeometry(GearPairInput{});
    EXPECT_EQ(g.involutalphawt, g.involutalphat);
    EXPECT_GT(g.alphawt, g.alphat);
    EXPECT_GT(g.a, g.ad);
    EXPECT_EQ(printed(g.a), "242.633");
    EXPECT_EQ(printed(g.ad), "242.633");
    EXPECT_EQ(printed(g.k), "6.99223e-07");
    EXPECT_EQ(printed(g.k * 8), "5.59379e-06");
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
