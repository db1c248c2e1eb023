#include "outline/flank_profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <string>

#include "outline/outline_test_util.h"
#include "support/approximate_profile.h"
#include "support/printed.h"

namespace kellvor {
namespace {

using test::buildApproximateFlankProfile;
using test::decimals;
using test::geometryOf;
using test::printed;

// The worked examples of the fit, the walk, the writers and the preview were computed with the
// older flank formula; it must reproduce their points, or every check built on it proves nothing.
TEST(OlderFlankFormula, SpurExamplePoints) {
    const GearPairGeometry g = geometryOf(20, 2, 0, 0, 4);
    EXPECT_EQ(printed(g.rs1, 16), "18.79385241571817");
    EXPECT_EQ(printed((g.ra1 - g.rs1) / 4, 16), "0.8015368960704574");
    const FlankProfile p = buildApproximateFlankProfile(g, 0, 4);
    ASSERT_EQ(p.count(), 10);
    EXPECT_EQ(decimals(p.points[0].x), "1.756177");
    EXPECT_EQ(decimals(p.points[0].y), "18.466598");
    EXPECT_EQ(decimals(p.points[4].x), "0.694880");
    EXPECT_EQ(decimals(p.points[4].y), "21.956118");
    EXPECT_EQ(decimals(p.points[5].x), "-0.694880");
    EXPECT_EQ(decimals(p.points[5].y), "21.956118");
    EXPECT_EQ(decimals(p.points[9].x), "-1.756177");
    EXPECT_EQ(decimals(p.points[9].y), "18.466598");
}

TEST(OlderFlankFormula, HelicalExamplePoints) {
    const GearPairGeometry g = geometryOf(40, 2, 15, 0.3, 3);
    EXPECT_FALSE(g.baseAboveUsable);
    EXPECT_EQ(printed(g.rs1, 16), "39.92515768856735");
    const FlankProfile p = buildApproximateFlankProfile(g, 0.3, 3);
    ASSERT_EQ(p.count(), 8);
    EXPECT_EQ(decimals(p.points[0].x), "2.192766");
    EXPECT_EQ(decimals(p.points[0].y), "39.684538");
    EXPECT_EQ(decimals(p.points[3].x), "0.674141");
    EXPECT_EQ(decimals(p.points[3].y), "43.990396");
    EXPECT_EQ(decimals(p.points[7].x), "-2.192766");
    EXPECT_EQ(decimals(p.points[7].y), "39.684538");
}

TEST(OlderFlankFormula, PointedToothCrossesAtTheTip) {
    const FlankProfile p = buildApproximateFlankProfile(geometryOf(4, 2, 0, 0.5, 5), 0.5, 5);
    ASSERT_EQ(p.count(), 12);
    EXPECT_EQ(decimals(p.points[5].x), "-0.479479");
    EXPECT_EQ(decimals(p.points[6].x), "0.479479");
    EXPECT_EQ(decimals(p.points[5].y), "6.934417");
    EXPECT_EQ(decimals(p.points[6].y), "6.934417");
}

class BuildFlankProfileReference : public ::testing::Test {
  protected:
    std::map<std::string, double> ref = test::loadInvoluteReference();
    double at(const std::string& key) {
        EXPECT_EQ(ref.count(key), 1u) << key;
        return ref[key];
    }
};

// Point 0 and the tip point against the separate script in tests/data.
TEST_F(BuildFlankProfileReference, SpurExample) {
    const FlankProfile p = buildFlankProfile(geometryOf(20, 2, 0, 0, 4), 0, 4);
    ASSERT_EQ(p.count(), 10);
    EXPECT_EQ(decimals(p.points[0].x), "1.753622");
    EXPECT_EQ(decimals(p.points[0].y), "18.711860");
    EXPECT_NEAR(p.points[0].x, at("spur point0_x"), 1e-10);
    EXPECT_NEAR(p.points[0].y, at("spur point0_y"), 1e-10);
    EXPECT_NEAR(p.points[4].x, at("spur tip_x"), 1e-10);
    EXPECT_NEAR(p.points[4].y, at("spur tip_y"), 1e-10);
    EXPECT_EQ(p.points[5].x, -p.points[4].x);
    EXPECT_EQ(p.points[9].y, p.points[0].y);
}

// Helical with profile shift: the thickness term uses tan(alphan) and the transverse involute.
TEST_F(BuildFlankProfileReference, HelicalExample) {
    const FlankProfile p = buildFlankProfile(geometryOf(40, 2, 15, 0.3, 3), 0.3, 3);
    ASSERT_EQ(p.count(), 8);
    EXPECT_NEAR(p.points[0].x, at("helical point0_x"), 1e-10);
    EXPECT_NEAR(p.points[0].y, at("helical point0_y"), 1e-10);
    EXPECT_NEAR(p.points[3].x, at("helical tip_x"), 1e-10);
    EXPECT_NEAR(p.points[3].y, at("helical tip_y"), 1e-10);
}

TEST(BuildFlankProfile, ZeroSegmentsGivesTheTwoLowerEnds) {
    const GearPairGeometry g = geometryOf(20, 2, 0, 0, 0);
    const FlankProfile p = buildFlankProfile(g, 0, 0);
    ASSERT_EQ(p.count(), 2);
    EXPECT_TRUE(std::isfinite(p.points[0].x) && std::isfinite(p.points[0].y));
    EXPECT_NEAR(std::hypot(p.points[0].x, p.points[0].y), g.rs1, 1e-12 * g.rs1);
    EXPECT_EQ(p.points[1].x, -p.points[0].x);
    EXPECT_EQ(p.points[1].y, p.points[0].y);
}

TEST(BuildFlankProfile, FiveHundredPointsPerFlankAtMost) {
    const GearPairGeometry g = geometryOf(20, 2, 0, 0, 499);
    const FlankProfile p = buildFlankProfile(g, 0, 499);
    ASSERT_EQ(p.count(), 1000);
    EXPECT_NEAR(std::hypot(p.points[499].x, p.points[499].y), g.ra1, 1e-12 * g.ra1);
    EXPECT_EQ(p.points[999].x, -p.points[0].x);
    EXPECT_EQ(p.points[999].y, p.points[0].y);
}

struct OutOfRangeCase {
    const char* name;
    std::int32_t segmentCount;
    std::int32_t expectedCount;
};

void PrintTo(const OutOfRangeCase& c, std::ostream* os) {
    *os << c.name;
}

class BuildFlankProfileOutOfRange : public ::testing::TestWithParam<OutOfRangeCase> {};

// The range test rejects these first; the profile must still never write past its storage.
TEST_P(BuildFlankProfileOutOfRange, IsClampedToTheRange) {
    const GearPairGeometry g = geometryOf(20, 2, 0, 0, 4);
    const FlankProfile p = buildFlankProfile(g, 0, GetParam().segmentCount);
    EXPECT_EQ(p.count(), GetParam().expectedCount);
    EXPECT_EQ(p.points[static_cast<std::size_t>(p.count() - 1)].x, -p.points[0].x);
}

INSTANTIATE_TEST_SUITE_P(
    Clamped, BuildFlankProfileOutOfRange,
    ::testing::Values(OutOfRangeCase{"minus_one", -1, 2}, OutOfRangeCase{"five_hundred", 500, 1000},
                      OutOfRangeCase{"int_max", std::numeric_limits<std::int32_t>::max(), 1000},
                      OutOfRangeCase{"int_min", std::numeric_limits<std::int32_t>::min(), 2}),
    [](const auto& row) { return std::string(row.param.name); });

// Four teeth with the largest positive shift come to a point below the tip circle. The tooth
// ends where its two involutes meet on the centre line (radius from the independent script):
// both flanks keep their points up to there, and the tip land shrinks to that one point.
TEST(BuildFlankProfile, PointedToothEndsWhereTheFlanksMeet) {
    std::map<std::string, double> ref = test::loadInvoluteReference();
    ASSERT_EQ(ref.count("pointed crossing_radius"), 1u);
    const GearPairGeometry g = geometryOf(4, 2, 0, 0.5, 5);
    const FlankProfile p = buildFlankProfile(g, 0.5, 5);
    ASSERT_EQ(p.count(), 12);
    EXPECT_TRUE(p.pointed);
    EXPECT_NEAR(p.tipRadius, ref["pointed crossing_radius"], 1e-12 * g.ra1);
    EXPECT_LT(p.tipRadius, g.ra1);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_GT(p.points[i].x, 0) << i;
    for (const std::size_t tip : {5u, 6u}) {
        EXPECT_EQ(p.points[tip].x, 0.0);
        EXPECT_FALSE(std::signbit(p.points[tip].x));
        EXPECT_EQ(p.points[tip].y, p.tipRadius);
    }
    // A tooth that does not come to a point ends on the tip circle.
    const GearPairGeometry wide = geometryOf(4, 2, 0, 0.0, 5);
    const FlankProfile q = buildFlankProfile(wide, 0.0, 5);
    EXPECT_FALSE(q.pointed);
    EXPECT_EQ(q.tipRadius, wide.ra1);
}

}  // namespace
}  // namespace kellvor
