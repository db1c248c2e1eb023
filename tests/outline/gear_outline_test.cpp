#include "outline/gear_outline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "outline/outline_test_util.h"
#include "outline/root_arc.h"
#include "support/approximate_profile.h"
#include "support/printed.h"

namespace kellvor {
namespace {

using test::buildApproximateFlankProfile;
using test::decimals;
using test::geometryOf;
using test::printed;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// What the tests look at of one tooth (the tooth object itself is reused by the walk).
struct ToothSummary {
    std::int32_t index = 0;
    double angle = 0;
    std::int32_t pointCount = 0;
    Point2 first, last;
    double centreX = 0, centreY = 0, radius = 0, start = 0, end = 0;
};

struct Walk {
    std::vector<ToothSummary> teeth;
    std::int64_t returned = 0;
};

Walk walk(const FlankProfile& profile, const RootArc& arc, std::int32_t z1) {
    Walk w;
    w.returned = walkGearOutline(profile, arc, z1, [&](const OutlineTooth& t) {
        const auto pts = t.points();
        w.teeth.push_back({t.index, t.angle, t.pointCount(), pts.front(), pts.back(), t.arcCentreX,
                           t.arcCentreY, t.arcRadius, t.arcStartAngle, t.arcEndAngle});
        return true;
    });
    return w;
}

// The spur example on the older flank formula, with which its worked numbers were computed.
class WalkSpurExample : public ::testing::Test {
  protected:
    void SetUp() override {
        const GearPairGeometry g = geometryOf(20, 2, 0, 0, 4);
        profile = buildApproximateFlankProfile(g, 0, 4);
        const std::optional<RootArc> fit = fitRootArc(profile, g.rf1, 20);
        ASSERT_TRUE(fit);
        fitted = *fit;
        result = walk(profile, fitted, 20);
        ASSERT_EQ(result.teeth.size(), 20u);
    }
    FlankProfile profile;
    RootArc fitted;
    Walk result;
};

TEST_F(WalkSpurExample, FirstToothIsCaseB) {
    const ToothSummary& t = result.teeth[0];
    EXPECT_EQ(t.angle, 0.0);
    EXPECT_EQ(t.pointCount, 10);
    EXPECT_EQ(printed(t.first.x, 15), "-1.75617650779671");
    EXPECT_EQ(printed(t.first.y, 15), "18.4665975730372");
    EXPECT_EQ(t.last.x, profile.points[0].x);
    EXPECT_EQ(t.last.y, profile.points[0].y);
    EXPECT_EQ(printed(fitted.centreY, 15), "18.4341776430228");
    EXPECT_EQ(printed(t.start, 15), "178.403929471787");
    EXPECT_EQ(printed(t.end, 15), "343.596070528213");
    EXPECT_EQ(t.centreX, fitted.centreX);
    EXPECT_EQ(t.radius, fitted.radius);
}

TEST_F(WalkSpurExample, LaterTeethFollowThePitch) {
    EXPECT_EQ(result.teeth[1].angle, 18.0);
    EXPECT_EQ(printed(result.teeth[1].start, 15), "160.403929471787");
    EXPECT_EQ(printed(result.teeth[1].end, 15), "325.596070528213");
}

// Half way round the start angle passes 0 and wraps once.
TEST_F(WalkSpurExample, ToothTenWraps) {
    const ToothSummary& t = result.teeth[10];
    EXPECT_EQ(t.angle, 180.0);
    EXPECT_EQ(printed(t.centreX, 15), "-2.91968690883323");
    EXPECT_EQ(printed(t.centreY, 15), "-18.4341776430228");
    EXPECT_EQ(printed(t.start, 15), "358.403929471787");
    EXPECT_EQ(printed(t.end, 15), "163.596070528213");
}

TEST_F(WalkSpurExample, LastTooth) {
    const ToothSummary& t = result.teeth[19];
    EXPECT_EQ(t.index, 19);
    EXPECT_EQ(t.angle, 342.0);
    EXPECT_EQ(printed(t.centreX, 15), "-2.91968690883326");
    EXPECT_EQ(printed(t.centreY, 15), "18.4341776430228");
    EXPECT_EQ(printed(t.start, 15), "196.403929471787");
    EXPECT_EQ(printed(t.end, 15), "1.59607052821315");
    EXPECT_EQ(result.returned, 20);
    EXPECT_EQ(t.radius, fitted.radius);
}

TEST(WalkGearOutline, HelicalExampleIsCaseA2) {
    const GearPairGeometry g = geometryOf(40, 2, 15, 0.3, 3);
    const FlankProfile profile = buildApproximateFlankProfile(g, 0.3, 3);
    const std::optional<RootArc> fit = fitRootArc(profile, g.rf1, 40);
    ASSERT_TRUE(fit);
    const RootArc arc = *fit;
    EXPECT_EQ(printed(arc.centreX, 15), "3.25999075584796");
    EXPECT_EQ(printed(arc.centreY, 15), "41.4221099818404");
    const Walk w = walk(profile, arc, 40);
    ASSERT_EQ(w.teeth.size(), 40u);
    EXPECT_EQ(printed(w.teeth[0].start, 15), "238.441561760248");
    EXPECT_EQ(printed(w.teeth[0].end, 15), "292.558438239749");
    EXPECT_EQ(printed(w.teeth[39].start, 15), "247.441561760248");
    EXPECT_EQ(printed(w.teeth[39].end, 15), "301.558438239749");
}

// The true involute spur gap: first-tooth angles against the separate script in tests/data.
TEST(WalkGearOutline, SpurExampleOnTheInvolute) {
    std::map<std::string, double> ref = test::loadInvoluteReference();
    ASSERT_EQ(ref.count("spur start_angle"), 1u);
    const GearPairGeometry g = geometryOf(20, 2, 0, 0, 4);
    const FlankProfile profile = buildFlankProfile(g, 0, 4);
    const std::optional<RootArc> fit = fitRootArc(profile, g.rf1, 20);
    ASSERT_TRUE(fit);
    const Walk w = walk(profile, *fit, 20);
    ASSERT_EQ(w.teeth.size(), 20u);
    EXPECT_EQ(decimals(w.teeth[0].start), "168.164274");
    EXPECT_EQ(decimals(w.teeth[0].end), "353.835726");
    EXPECT_NEAR(w.teeth[0].start, ref["spur start_angle"], 1e-8);
    EXPECT_NEAR(w.teeth[0].end, ref["spur end_angle"], 1e-8);
}

FlankProfile spurProfile(std::int32_t z1, std::int32_t segmentCount, RootArc& arc) {
    const GearPairGeometry g = geometryOf(z1, 2, 0, 0, segmentCount);
    const FlankProfile profile = buildFlankProfile(g, 0, segmentCount);
    const std::optional<RootArc> fit = fitRootArc(profile, g.rf1, z1);
    EXPECT_TRUE(fit);
    arc = fit.value_or(RootArc{});
    return profile;
}

// The pitch angle is added up, never multiplied: tooth k is turned by the sum of k pitches. For
// these tooth counts the sum differs from k * tau in the last bit for some k, so a walk that
// multiplied would fail here (the test checks that it can).
TEST(WalkGearOutline, TeethAreTurnedByTheAccumulatedPitch) {
    for (const std::int32_t z1 : {7, 19, 23, 97, 113}) {
        RootArc arc;
        const FlankProfile profile = spurProfile(z1, 4, arc);
        const double tau = 360.0 / z1;
        const Point2 lowerEnd = profile.points[static_cast<std::size_t>(profile.count() - 1)];
        double sum = 0.0;
        bool productDiffers = false;
        std::int32_t seen = 0;
        walkGearOutline(profile, arc, z1, [&](const OutlineTooth& t) {
            EXPECT_EQ(t.index, seen);
            EXPECT_EQ(t.angle, sum) << "z1 " << z1 << " tooth " << t.index;
            const Point2 expected = turn(clockwiseRotation(sum), lowerEnd);
            EXPECT_EQ(t.points().front().x, expected.x);
            EXPECT_EQ(t.points().front().y, expected.y);
            productDiffers = productDiffers || static_cast<double>(t.index) * tau != sum;
            sum = sum + tau;
            ++seen;
            return true;
        });
        EXPECT_EQ(seen, z1);
        EXPECT_TRUE(productDiffers) << "z1 " << z1 << " cannot tell a sum from a product";
    }
}

TEST(WalkGearOutline, FourTeethAtRightAngles) {
    RootArc arc;
    const FlankProfile profile = spurProfile(4, 10, arc);
    const Walk w = walk(profile, arc, 4);
    ASSERT_EQ(w.teeth.size(), 4u);
    EXPECT_EQ(w.teeth[0].angle, 0.0);
    EXPECT_EQ(w.teeth[1].angle, 90.0);
    EXPECT_EQ(w.teeth[2].angle, 180.0);
    EXPECT_EQ(w.teeth[3].angle, 270.0);
    // Turning by 90 degrees moves the lower first-flank end of tooth 0 onto that of tooth 1.
    EXPECT_NEAR(w.teeth[1].last.x, profile.points[0].y, 1e-12);
    EXPECT_NEAR(w.teeth[1].last.y, -profile.points[0].x, 1e-12);
}

TEST(WalkGearOutline, ZeroSegmentsJoinTheLowerEnds) {
    RootArc arc;
    const FlankProfile profile = spurProfile(20, 0, arc);
    const Walk w = walk(profile, arc, 20);
    ASSERT_EQ(w.teeth.size(), 20u);
    EXPECT_EQ(w.teeth[0].pointCount, 2);
    EXPECT_EQ(w.teeth[0].first.x, -profile.points[0].x);
    EXPECT_EQ(w.teeth[0].first.y, profile.points[0].y);
    EXPECT_EQ(w.teeth[0].last.x, profile.points[0].x);
}

TEST(WalkGearOutline, ConsumerCanStopTheWalk) {
    RootArc arc;
    const FlankProfile profile = spurProfile(20, 4, arc);
    std::int32_t seen = 0;
    const std::int64_t handed = walkGearOutline(profile, arc, 20, [&](const OutlineTooth& t) {
        ++seen;
        return t.index < 2;
    });
    EXPECT_EQ(handed, 3);
    EXPECT_EQ(seen, 3);
}

// One tooth object at a time: a million teeth stream through without being held.
TEST(WalkGearOutline, MillionTeethAllArrive) {
    constexpr std::int32_t z1 = 1000000;
    RootArc arc;
    const FlankProfile profile = spurProfile(z1, 0, arc);
    std::int64_t count = 0;
    std::int32_t lastIndex = -1;
    bool inOrder = true;
    const OutlineTooth* object = nullptr;
    bool sameObject = true;
    const std::int64_t handed = walkGearOutline(profile, arc, z1, [&](const OutlineTooth& t) {
        inOrder = inOrder && t.index == lastIndex + 1;
        sameObject = sameObject && (object == nullptr || object == &t);
        object = &t;
        lastIndex = t.index;
        ++count;
        return true;
    });
    EXPECT_EQ(handed, z1);
    EXPECT_EQ(count, z1);
    EXPECT_EQ(lastIndex, z1 - 1);
    EXPECT_TRUE(inOrder);
    EXPECT_TRUE(sameObject);
}

TEST(WalkGearOutline, NoTeethForANonPositiveCount) {
    RootArc arc;
    const FlankProfile profile = spurProfile(20, 4, arc);
    EXPECT_EQ(walkGearOutline(profile, arc, 0, [](const OutlineTooth&) { return true; }), 0);
    EXPECT_EQ(walkGearOutline(profile, arc, -3, [](const OutlineTooth&) { return true; }), 0);
}

struct NormaliseCase {
    const char* name;
    double in;
    double out;
};

void PrintTo(const NormaliseCase& c, std::ostream* os) {
    *os << c.name;
}

class NormaliseArcAngle : public ::testing::TestWithParam<NormaliseCase> {};

TEST_P(NormaliseArcAngle, AddsAFullTurnOnceBelowZero) {
    EXPECT_EQ(normaliseArcAngle(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Table, NormaliseArcAngle,
                         ::testing::Values(NormaliseCase{"negative", -1.5, 358.5},
                                           NormaliseCase{"zero_stays", 0.0, 0.0},
                                           NormaliseCase{"full_turn_stays", 360.0, 360.0},
                                           NormaliseCase{"above_stays", 400.0, 400.0},
                                           NormaliseCase{"only_once", -400.0, -40.0}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(NormaliseArcAngleNaN, StaysNotANumber) {
    EXPECT_TRUE(std::isnan(normaliseArcAngle(kNaN)));
}

TEST(ArcThroughDirection, OrdersTheEndsAroundTheGivenDirection) {
    const Point2 centre{1, 1};
    const ArcAngles below = arcThroughDirection(centre, {0, 1}, {2, 1}, 270);
    EXPECT_EQ(below.start, 180.0);
    EXPECT_EQ(below.end, 0.0);
    const ArcAngles above = arcThroughDirection(centre, {0, 1}, {2, 1}, 90);
    EXPECT_EQ(above.start, 0.0);
    EXPECT_EQ(above.end, 180.0);
}

// Constructed gaps with tau = 90: the gap's centre line runs at 45 degrees, P0 is P1 mirrored
// across it (x and y swapped), and the fitted circle is centred on it.
Point2 onCircle(Point2 c, double radius, double degrees) {
    const double a = degrees * kDegToRad;
    return {c.x + radius * std::cos(a), c.y + radius * std::sin(a)};
}

Point2 mirrored(Point2 p) {
    return {p.y, p.x};
}

// One constructed gap (tau = 90) and the arc angles it must get.
struct GapCase {
    const char* name;
    Point2 centre;
    double radius;
    double p1Degrees;  // direction of P1 from the centre
    double start;
    double end;
};

void PrintTo(const GapCase& c, std::ostream* os) {
    *os << c.name;
}

class FirstToothArcAngles : public ::testing::TestWithParam<GapCase> {};

TEST_P(FirstToothArcAngles, RunThroughTheRootPoint) {
    const GapCase& c = GetParam();
    const Point2 p1 = onCircle(c.centre, c.radius, c.p1Degrees);
    const ArcAngles a = firstToothArcAngles(c.centre, p1, mirrored(p1), 90);
    EXPECT_NEAR(a.start, c.start, 1e-12);
    EXPECT_NEAR(a.end, c.end, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, FirstToothArcAngles,
    ::testing::Values(
        // An ordinary gap: the case rules hold and are kept as they are.
        GapCase{"ordinary_gap_keeps_the_rules", {2, 2}, 0.5, 170, 170, 280},
        // A deep gap (more than three quarters of a circle) puts P1 right of the centre; the
        // rules would start at 240 degrees. The arc must run from P1 round through the root
        // point below.
        GapCase{
            "deep_gap_uses_the_true_directions", {std::sqrt(2.0), std::sqrt(2.0)}, 1, 60, 60, 30},
        // The circle's centre lies beyond the gear centre, so the root point is its crossing
        // with the gap's centre line on the far side: the arc bulges outwards, P0 ccw to P1.
        GapCase{"centre_beyond_the_gear_centre_bulges_outwards",
                {-std::sqrt(0.5), -std::sqrt(0.5)},
                3,
                60,
                30,
                60},
        // The rules give the right directions of P1 and P0, but in the order whose ccw arc
        // misses the root point; the ends are swapped.
        GapCase{"right_directions_in_the_wrong_order_are_swapped",
                {-std::sqrt(0.5), -std::sqrt(0.5)},
                3,
                120,
                330,
                120}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kellvor
