#include "outline/root_arc.h"

#include "geometry/constants.h"

#include <gtest/gtest.h>

#include <optional>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <ostream>
#include <string>

#include "outline/outline_test_util.h"
#include "support/approximate_profile.h"

namespace kellvor {
namespace {

using test::buildApproximateFlankProfile;
using test::decimals;
using test::geometryOf;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct CircleCase {
    const char* name;
    Point2 p0, p1, p2;
    double centreX, centreY, radius;
};

void PrintTo(const CircleCase& c, std::ostream* os) {
    *os << c.name;
}

class FitCircleExample : public ::testing::TestWithParam<CircleCase> {};

TEST_P(FitCircleExample, FindsThePrintedCircle) {
    const CircleCase& c = GetParam();
    const std::optional<RootArc> fit = fitCircle(c.p0, c.p1, c.p2);
    ASSERT_TRUE(fit);
    const RootArc arc = *fit;
    EXPECT_NEAR(arc.centreX, c.centreX, 5e-7);
    EXPECT_NEAR(arc.centreY, c.centreY, 5e-7);
    EXPECT_NEAR(arc.radius, c.radius, 5e-7);
}

INSTANTIATE_TEST_SUITE_P(
    SmallCircles, FitCircleExample,
    ::testing::Values(CircleCase{"plain", {1, 7}, {6, 2}, {1, -3}, 1, 2, 5},
                      // The second pivot is zero after the first step and gets row 2 added.
                      CircleCase{"zero_second_pivot", {3, 4}, {3, -4}, {-5, 0}, 0, 0, 5}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FitCircle, NoCircleThroughCollinearCoincidentOrNotANumberPoints) {
    EXPECT_FALSE(fitCircle({0, 0}, {1, 1}, {2, 2}));
    EXPECT_FALSE(fitCircle({2, 3}, {2, 3}, {5, -1}));
    EXPECT_FALSE(fitCircle({1, 7}, {6, 2}, {kNaN, -3}));
}

// Far from the origin the squares in the system cancel; the fit must still find the circle.
TEST(FitCircle, SmallCircleFarFromTheOriginIsExact) {
    const double cx = 3.0e7, cy = -2.5e7, r = 0.2;
    const auto on = [&](double deg) {
        const double a = deg * kDegToRad;
        return Point2{cx + r * std::cos(a), cy + r * std::sin(a)};
    };
    const std::optional<RootArc> fit = fitCircle(on(10), on(130), on(250));
    ASSERT_TRUE(fit);
    const RootArc arc = *fit;
    EXPECT_NEAR(arc.centreX, cx, 1e-6);
    EXPECT_NEAR(arc.centreY, cy, 1e-6);
    EXPECT_NEAR(arc.radius, r, 1e-6);
}

// The system of the collinear example: the third pivot stays exactly zero.
TEST(SolveGaussJordan, CollinearSystemLeavesAZeroOnTheDiagonal) {
    std::array<double, 12> m{1, -0.0, -0.0, -0.0, 1, -2, -2, -2, 1, -4, -4, -8};
    solveGaussJordan(m, 3, 4);
    EXPECT_EQ(m[0], 1.0);
    EXPECT_EQ(m[5], 1.0);
    EXPECT_EQ(m[10], 0.0);
}

// Column 0 has no usable pivot at all and the last pivot stays zero: the rows stay where they
// are, and the elimination with the zero pivot row still runs (it changes the last column).
TEST(SolveGaussJordan, ZeroPivotRowStillEliminates) {
    std::array<double, 12> m{0, 1, 1, 1, 0, 2, 1, 1, 0, 0, 0, 3};
    solveGaussJordan(m, 3, 4);
    const std::array<double, 12> expected{0, 0, 0.5, -1, 0, 1, 0.5, -1, 0, 0, 0, 3};
    for (std::size_t i = 0; i < m.size(); ++i)
        EXPECT_EQ(m[i], expected[i]) << "entry " << i;
}

// A not-a-number entry below a zero pivot is passed over like a zero; the next row is added.
// (Three rows, two columns: one pivot step, so the NaN cannot spread before we look.)
TEST(SolveGaussJordan, NotANumberIsNoPivotCandidate) {
    std::array<double, 6> m{0, 1, kNaN, 7, 4, 8};
    solveGaussJordan(m, 3, 2);
    EXPECT_EQ(m[0], 1.0);
    EXPECT_EQ(m[1], 2.25);
    EXPECT_TRUE(std::isnan(m[2]));
    EXPECT_EQ(m[4], 0.0);
    EXPECT_EQ(m[5], -1.0);
}

TEST(SolveGaussJordan, NoColumnsToPivotIsANoOp) {
    std::array<double, 2> m{0, 5};
    solveGaussJordan(m, 2, 1);
    EXPECT_EQ(m[0], 0);
    EXPECT_EQ(m[1], 5);
}

// A worked gap, built from the older flank formula its numbers come from.
struct WorkedGap {
    const char* name;
    std::int32_t z1;
    double beta;
    double x1;
    std::int32_t segmentCount;
    const char* p0x;
    const char* p0y;
    const char* centreX;
    const char* centreY;
    const char* radius;
};

void PrintTo(const WorkedGap& c, std::ostream* os) {
    *os << c.name;
}

class FitRootArcExample : public ::testing::TestWithParam<WorkedGap> {};

TEST_P(FitRootArcExample, FindsThePrintedGapAndCircle) {
    const WorkedGap& c = GetParam();
    const GearPairGeometry g = geometryOf(c.z1, 2, c.beta, c.x1, c.segmentCount);
    const FlankProfile p = buildApproximateFlankProfile(g, c.x1, c.segmentCount);
    const Point2 p0 = nextToothFlankEnd(p, 360.0 / c.z1);
    EXPECT_EQ(decimals(p0.x), c.p0x);
    EXPECT_EQ(decimals(p0.y), c.p0y);
    const std::optional<RootArc> arcFit = fitRootArc(p, g.rf1, c.z1);
    ASSERT_TRUE(arcFit);
    const RootArc arc = *arcFit;
    EXPECT_EQ(decimals(arc.centreX), c.centreX);
    EXPECT_EQ(decimals(arc.centreY), c.centreY);
    EXPECT_EQ(decimals(arc.radius), c.radius);
}

INSTANTIATE_TEST_SUITE_P(Worked, FitRootArcExample,
                         ::testing::Values(WorkedGap{"spur", 20, 0, 0, 4, "4.036269", "18.105466",
                                                     "2.919687", "18.434178", "1.163962"},
                                           WorkedGap{"helical", 40, 15, 0.3, 3, "4.042260",
                                                     "39.538980", "3.259991", "41.422110",
                                                     "2.039148"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FitRootArc, NearlyStraightGapGivesAHugeCircle) {
    const GearPairGeometry g = geometryOf(16, 1, 20, 0.45, 10);
    const std::optional<RootArc> arcFit =
        fitRootArc(buildApproximateFlankProfile(g, 0.45, 10), g.rf1, 16);
    ASSERT_TRUE(arcFit);
    const RootArc arc = *arcFit;
    EXPECT_EQ(decimals(arc.centreX, 3), "179.417");
    EXPECT_EQ(decimals(arc.centreY, 3), "901.992");
    EXPECT_EQ(decimals(arc.radius, 3), "911.950");
}

TEST(FitRootArc, OutwardArcExample) {
    const GearPairGeometry g = geometryOf(8, 1, 30, 0.5, 10);
    const FlankProfile p = buildApproximateFlankProfile(g, 0.5, 10);
    const Point2 p0 = nextToothFlankEnd(p, 45);
    EXPECT_EQ(decimals(p0.x), "1.807256");
    EXPECT_EQ(decimals(p0.y), "3.395728");
    EXPECT_EQ(decimals(p.points[0].x), "1.123220");
    EXPECT_EQ(decimals(p.points[0].y), "3.679065");
    const std::optional<RootArc> arcFit = fitRootArc(p, g.rf1, 8);
    ASSERT_TRUE(arcFit);
    const RootArc arc = *arcFit;
    EXPECT_EQ(decimals(arc.centreX), "0.816519");
    EXPECT_EQ(decimals(arc.centreY), "1.971250");
    EXPECT_EQ(decimals(arc.radius), "1.735136");
}

// The true involute spur gap against the separate script in tests/data.
TEST(FitRootArc, SpurExampleOnTheInvolute) {
    std::map<std::string, double> ref = test::loadInvoluteReference();
    ASSERT_EQ(ref.count("spur centre_x"), 1u);
    const GearPairGeometry g = geometryOf(20, 2, 0, 0, 4);
    const FlankProfile p = buildFlankProfile(g, 0, 4);
    const Point2 p0 = nextToothFlankEnd(p, 18);
    EXPECT_NEAR(p0.x, ref["spur p0_x"], 1e-10);
    EXPECT_NEAR(p0.y, ref["spur p0_y"], 1e-10);
    const std::optional<RootArc> arcFit = fitRootArc(p, g.rf1, 20);
    ASSERT_TRUE(arcFit);
    const RootArc arc = *arcFit;
    EXPECT_EQ(decimals(arc.centreX), "2.924795");
    EXPECT_EQ(decimals(arc.centreY), "18.466427");
    EXPECT_EQ(decimals(arc.radius), "1.196613");
    EXPECT_NEAR(arc.centreX, ref["spur centre_x"], 1e-9);
    EXPECT_NEAR(arc.centreY, ref["spur centre_y"], 1e-9);
    EXPECT_NEAR(arc.radius, ref["spur radius"], 1e-9);
}

// Only the lower flank ends enter the fit, so the number of segments cannot change it.
TEST(FitRootArc, SegmentCountDoesNotChangeTheFit) {
    const GearPairGeometry g = geometryOf(23, 3, 12, -0.2, 4);
    const std::optional<RootArc> referenceFit =
        fitRootArc(buildFlankProfile(g, -0.2, 4), g.rf1, 23);
    ASSERT_TRUE(referenceFit);
    const RootArc reference = *referenceFit;
    for (const std::int32_t s : {0, 1, 499}) {
        const std::optional<RootArc> arcFit = fitRootArc(buildFlankProfile(g, -0.2, s), g.rf1, 23);
        ASSERT_TRUE(arcFit);
        const RootArc arc = *arcFit;
        EXPECT_EQ(arc.centreX, reference.centreX) << s;
        EXPECT_EQ(arc.centreY, reference.centreY) << s;
        EXPECT_EQ(arc.radius, reference.radius) << s;
    }
}

// A degenerate profile and root circle put all three gap points at the gear centre; an empty
// profile has no gap points at all.
TEST(FitRootArc, CoincidentGapPointsOrEmptyProfileGiveNoCircle) {
    FlankProfile p;
    p.points.resize(2);
    EXPECT_FALSE(fitRootArc(p, 0.0, 20));
    EXPECT_FALSE(fitRootArc(FlankProfile{}, geometryOf(20, 2, 0, 0, 4).rf1, 20));
}

}  // namespace
}  // namespace kellvor
