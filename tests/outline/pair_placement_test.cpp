#include "outline/pair_placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "geometry/constants.h"
#include "outline/mesh_check.h"
#include "outline/outline_check.h"
#include "outline/outline_test_util.h"

namespace kellvor {
namespace {

// Gear 2's gap after its tooth 0 lies half a pitch clockwise from +y in its own frame; placed,
// it opens straight down the line of centres toward gear 1's tooth 0.
TEST(Gear2Placement, GapFacesToothZeroOfGear1) {
    for (const std::int32_t z2 : {4, 5, 17, 40, 1001}) {
        const double a = 123.25;
        const RigidMotion m = gear2Placement(a, z2);
        for (const double r : {1.0, 40.0}) {
            const Point2 gap = turn(clockwiseRotation(180.0 / z2), Point2{0.0, r});
            const Point2 placed = apply(m, gap);
            EXPECT_NEAR(placed.x, 0.0, 1e-12 * a) << z2;
            EXPECT_NEAR(placed.y, a - r, 1e-12 * a) << z2;
        }
        // Arc angles turn with the gear and stay in [0, 360).
        EXPECT_NEAR(applyToAngle(m, 90.0 - 180.0 / z2), 270.0, 1e-12);
        EXPECT_GE(applyToAngle(m, 359.0), 0.0);
        EXPECT_LT(applyToAngle(m, 359.0), 360.0);
    }
}

// The line of action touches both base circles, its ends on either side of the line of centres
// as gear 1 turning counter-clockwise pushes, and it runs through the pitch point (0, rw1).
TEST(LineOfAction, TouchesBothBaseCirclesThroughThePitchPoint) {
    for (const double beta : {0.0, 12.0, 30.0})
        for (const double x2 : {-0.5, 0.0, 0.4}) {
            const GearPairInput in{19, 47, 3.0, 20.0, beta, 0.3, x2, 5};
            const GearPairGeometry g = computeGearPairGeometry(in);
            const double rb1 = g.db1 / 2, rb2 = g.db2 / 2;
            const LineOfAction l = lineOfAction(rb1, rb2, g.a, g.alphawt);
            const Point2 d{l.t2.x - l.t1.x, l.t2.y - l.t1.y};
            const Point2 r2{l.t2.x, l.t2.y - g.a};
            const double tol = 1e-12 * g.a;
            EXPECT_NEAR(std::hypot(l.t1.x, l.t1.y), rb1, tol);
            EXPECT_NEAR(std::hypot(r2.x, r2.y), rb2, tol);
            EXPECT_NEAR(l.t1.x * d.x + l.t1.y * d.y, 0.0, tol * g.a);
            EXPECT_NEAR(r2.x * d.x + r2.y * d.y, 0.0, tol * g.a);
            EXPECT_GT(l.t1.x, 0.0);
            EXPECT_LT(l.t2.x, 0.0);
            const Point2 p{0.0 - l.t1.x, g.dw1 / 2 - l.t1.y};
            EXPECT_NEAR(d.x * p.y - d.y * p.x, 0.0, tol * g.a);
        }
}

// For teeth that end on the tip circle the tips reach da / 2 and the roots rf = df / 2 (the root
// arc passes through the root circle mid-gap, nearest to the centre there): both clearances are
// a - (da1 + df2) / 2.
TEST(OutlineReach, ClearancesFromTipAndRootDiameters) {
    int checked = 0;
    for (const std::int32_t z1 : {8, 13, 20, 57})
        for (const std::int32_t z2 : {9, 31, 120})
            for (const double x1 : {-0.5, 0.0, 0.5})
                for (const double x2 : {-0.4, 0.3})
                    for (const double beta : {0.0, 17.0}) {
                        const GearPairInput in{z1, z2, 2.5, 20.0, beta, x1, x2, 7};
                        const MeshSetup s = test::meshSetup(in);
                        // A pair without a working pressure angle has no centre distance.
                        if (std::isnan(s.a) || s.gear1.profile.pointed || s.gear2.profile.pointed ||
                            findOutlineDefect(s.gear1.profile, s.gear1.arc, z1) ||
                            findOutlineDefect(s.gear2.profile, s.gear2.arc, z2))
                            continue;
                        const GearPairGeometry g = computeGearPairGeometry(in);
                        const double expected = g.a - (g.da1 + g.df2) / 2;
                        const OutlineReach r1 = outlineReach(s.gear1);
                        const OutlineReach r2 = outlineReach(s.gear2);
                        const std::string name = std::to_string(z1) + "/" + std::to_string(z2) +
                                                 " " + std::to_string(x1) + " " +
                                                 std::to_string(x2);
                        EXPECT_NEAR(g.a - r1.max - r2.min, expected, 1e-12 * g.a) << name;
                        EXPECT_NEAR(g.a - r2.max - r1.min, expected, 1e-12 * g.a) << name;
                        ++checked;
                    }
    EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace kellvor
