#include <gtest/gtest.h>

#include <optional>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

#include "geometry/constants.h"
#include "geometry/input_validation.h"
#include "outline/flank_profile.h"
#include "outline/gear_outline.h"
#include "outline/outline_test_util.h"
#include "outline/root_arc.h"

namespace kellvor {
namespace {

struct OutlineCase {
    const char* name;
    std::int32_t z1;
    double mn;
    double beta;
    double x1;
    std::int32_t segmentCount;
};

void PrintTo(const OutlineCase& c, std::ostream* os) {
    *os << c.name;
}

double involute(double a) {
    return std::tan(a) - a;
}

// Smallest angle between two directions, in degrees.
double angleBetween(double a, double b) {
    return std::fabs(std::remainder(a - b, 360.0));
}

bool ccwArcContains(double start, double end, double d) {
    auto wrap = [](double v) { return v - 360.0 * std::floor(v / 360.0); };
    return wrap(d - start) <= wrap(end - start);
}

class OutlineProperties : public ::testing::TestWithParam<OutlineCase> {
  protected:
    void SetUp() override {
        const OutlineCase& c = GetParam();
        input = test::gearInput(c.z1, c.mn, c.beta, c.x1, c.segmentCount);
        ASSERT_TRUE(validateInput(input));
        geometry = computeGearPairGeometry(input);
        profile = buildFlankProfile(geometry, c.x1, c.segmentCount);
    }
    GearPairInput input;
    GearPairGeometry geometry;
    FlankProfile profile;
};

TEST_P(OutlineProperties, FlankPointsLieAtTheirRadii) {
    const std::int32_t s = input.segmentCount;
    ASSERT_EQ(profile.count(), 2 * (s + 1));
    // The flank runs to the tip circle, or to where a pointed tooth's flanks meet below it.
    EXPECT_EQ(profile.pointed, profile.tipRadius < geometry.ra1);
    EXPECT_LE(profile.tipRadius, geometry.ra1);
    const double step = s > 0 ? (profile.tipRadius - geometry.rs1) / s : 0.0;
    double worst = 0;
    for (std::int32_t n = 0; n <= s; ++n) {
        const Point2 p = profile.points[static_cast<std::size_t>(n)];
        const double r = geometry.rs1 + n * step;
        worst = std::max(worst, std::fabs(std::hypot(p.x, p.y) - r) / r);
    }
    EXPECT_LT(worst, 1e-12);
    // With no segments the flank is its start point alone; otherwise it ends on the tip circle.
    if (s > 0) {
        const Point2 tip = profile.points[static_cast<std::size_t>(s)];
        EXPECT_LT(std::fabs(std::hypot(tip.x, tip.y) - profile.tipRadius) / profile.tipRadius,
                  1e-12);
    }
}

// On the involute the polar angle from the centre line plus inv(alpha) at that radius is the
// half-tooth angle at the base circle; it holds the standard transverse thickness
// mt pi/2 + 2 x1 mn tan(alphat) at the reference circle.
TEST_P(OutlineProperties, FirstFlankIsOnTheInvolute) {
    const double alphat = std::atan(std::tan(kAlphan) / std::cos(input.beta * kDegToRad));
    const double halfTooth =
        (kHalfPi + 2 * input.x1 * std::tan(kAlphan)) / input.z1 + involute(alphat);
    const double rb = std::cos(alphat) * input.z1 * input.mn / std::cos(input.beta * kDegToRad) / 2;
    double worst = 0;
    for (std::int32_t n = 0; n <= input.segmentCount; ++n) {
        const Point2 p = profile.points[static_cast<std::size_t>(n)];
        const double r = std::hypot(p.x, p.y);
        const double alpha = std::acos(std::min(1.0, rb / r));
        worst = std::max(worst, std::fabs(std::atan2(p.x, p.y) + involute(alpha) - halfTooth));
    }
    EXPECT_LT(worst, 1e-12);
}

// Backlash turns each flank about the centre toward the tooth's centre line: the points keep
// their spacing in radius and lie on the involute whose half-tooth angle is smaller by the
// thinning, the moved crossing of a pointed tooth included; a thinning of 0 changes no bit.
TEST_P(OutlineProperties, ThinnedFlankIsTheInvoluteTurnedInward) {
    const FlankProfile same = buildFlankProfile(geometry, input.x1, input.segmentCount, 0.0);
    ASSERT_EQ(same.count(), profile.count());
    for (std::size_t i = 0; i < profile.points.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(same.points[i].x),
                  std::bit_cast<std::uint64_t>(profile.points[i].x));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(same.points[i].y),
                  std::bit_cast<std::uint64_t>(profile.points[i].y));
    }
    const double alphat = std::atan(std::tan(kAlphan) / std::cos(input.beta * kDegToRad));
    const double halfTooth =
        (kHalfPi + 2 * input.x1 * std::tan(kAlphan)) / input.z1 + involute(alphat);
    for (const double thinning : {1e-4 / input.z1, 0.05 / input.z1}) {
        const FlankProfile thin =
            buildFlankProfile(geometry, input.x1, input.segmentCount, thinning);
        ASSERT_EQ(thin.count(), profile.count());
        EXPECT_LE(thin.tipRadius, profile.tipRadius);
        double worst = 0;
        for (std::int32_t n = 0; n <= input.segmentCount; ++n) {
            const Point2 p = thin.points[static_cast<std::size_t>(n)];
            const double r = std::hypot(p.x, p.y);
            const double alpha = std::acos(std::min(1.0, geometry.rb1 / r));
            worst = std::max(
                worst, std::fabs(std::atan2(p.x, p.y) + involute(alpha) - (halfTooth - thinning)));
            // Evenly spaced from the start radius to the tip, or to the moved crossing.
            const double step =
                input.segmentCount > 0 ? (thin.tipRadius - geometry.rs1) / input.segmentCount : 0;
            EXPECT_NEAR(r, geometry.rs1 + n * step, 1e-12 * r) << n;
        }
        EXPECT_LT(worst, 1e-12) << thinning;
    }
}

TEST_P(OutlineProperties, SecondFlankMirrorsTheFirst) {
    const std::int32_t m = input.segmentCount + 1;
    for (std::int32_t j = 0; j < m; ++j) {
        const Point2 a = profile.points[static_cast<std::size_t>(m + j)];
        const Point2 b = profile.points[static_cast<std::size_t>(m - 1 - j)];
        ASSERT_EQ(a.x, -b.x) << j;
        ASSERT_EQ(a.y, b.y) << j;
    }
}

// The contour is closed: every arc leaves its tooth's last point, ends at the next tooth's
// first point, and passes through the root point of its gap turned with the tooth.
TEST_P(OutlineProperties, ArcsCloseTheContourThroughTheRoot) {
    const std::optional<RootArc> arcFit = fitRootArc(profile, geometry.rf1, input.z1);
    ASSERT_TRUE(arcFit);
    const RootArc arc = *arcFit;
    const double tau = 360.0 / input.z1;
    const double half = tau * 0.5 * kDegToRad;
    const Point2 root{geometry.rf1 * std::sin(half), geometry.rf1 * std::cos(half)};

    Point2 firstOfTooth0, pendingEnd;
    double worstStart = 0, worstEnd = 0, worstRoot = 0;
    std::int64_t rootOutside = 0, count = 0;
    std::int32_t expectedIndex = 0;
    const std::int64_t handed = walkGearOutline(profile, arc, input.z1, [&](const OutlineTooth& t) {
        EXPECT_EQ(t.index, expectedIndex++);
        const auto pts = t.points();
        const auto on = [&](double deg) {
            return Point2{t.arcCentreX + t.arcRadius * std::cos(deg * kDegToRad),
                          t.arcCentreY + t.arcRadius * std::sin(deg * kDegToRad)};
        };
        if (t.index == 0)
            firstOfTooth0 = pts.front();
        else
            worstEnd = std::max(
                worstEnd, std::hypot(pendingEnd.x - pts.front().x, pendingEnd.y - pts.front().y));
        const Point2 start = on(t.arcStartAngle);
        worstStart =
            std::max(worstStart, std::hypot(start.x - pts.back().x, start.y - pts.back().y));
        pendingEnd = on(t.arcEndAngle);

        const Point2 r = turn(clockwiseRotation(t.angle), root);
        worstRoot = std::max(
            worstRoot, std::fabs(std::hypot(r.x - t.arcCentreX, r.y - t.arcCentreY) - t.arcRadius));
        const double rootDir = std::atan2(r.y - t.arcCentreY, r.x - t.arcCentreX) * kRadToDeg;
        if (!ccwArcContains(t.arcStartAngle, t.arcEndAngle, rootDir))
            ++rootOutside;
        ++count;
        return true;
    });
    worstEnd = std::max(worstEnd,
                        std::hypot(pendingEnd.x - firstOfTooth0.x, pendingEnd.y - firstOfTooth0.y));
    const double tolerance = 1e-9 * input.mn;
    EXPECT_EQ(handed, input.z1);
    EXPECT_EQ(count, input.z1);
    EXPECT_LT(worstStart, tolerance);
    EXPECT_LT(worstEnd, tolerance);
    EXPECT_LT(worstRoot, tolerance);
    EXPECT_EQ(rootOutside, 0);
}

// The rules for the first gap point at the true ends: the start angle at P1, the end at P0.
TEST_P(OutlineProperties, FirstArcStartsAtTheFirstFlank) {
    const std::optional<RootArc> arcFit = fitRootArc(profile, geometry.rf1, input.z1);
    ASSERT_TRUE(arcFit);
    const RootArc arc = *arcFit;
    const Point2 p1 = profile.points[0];
    const Point2 p0 = nextToothFlankEnd(profile, 360.0 / input.z1);
    const Point2 c{arc.centreX, arc.centreY};
    const ArcAngles a = firstToothArcAngles(c, p1, p0, 360.0 / input.z1);
    EXPECT_LT(angleBetween(a.start, std::atan2(p1.y - c.y, p1.x - c.x) * kRadToDeg), 1e-9);
    EXPECT_LT(angleBetween(a.end, std::atan2(p0.y - c.y, p0.x - c.x) * kRadToDeg), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    AcrossTheRange, OutlineProperties,
    ::testing::Values(OutlineCase{"spur_z20", 20, 2, 0, 0, 4},
                      OutlineCase{"dialog_initial", 17, 8, 20, 0, 10},
                      OutlineCase{"helical_z40", 40, 2, 15, 0.3, 3},
                      OutlineCase{"z4_negative_shift", 4, 1, 0, -0.5, 10},
                      OutlineCase{"z4_pointed", 4, 2, 0, 0.5, 5},
                      OutlineCase{"z4_helical_full", 4, 0.5, 30, 0.5, 499},
                      OutlineCase{"z5_helical_negative", 5, 10, 30, -0.5, 0},
                      OutlineCase{"z7_large_module", 7, 50, 12.5, -0.5, 1},
                      OutlineCase{"z8_outward_arc", 8, 1, 30, 0.5, 10},
                      OutlineCase{"z16_nearly_straight_gap", 16, 1, 20, 0.45, 10},
                      OutlineCase{"z35_usable_start", 35, 2, 0, 0, 10},
                      OutlineCase{"z100_helical", 100, 3, 25, -0.25, 499},
                      OutlineCase{"z150_beta30", 150, 5, 30, 0.5, 1},
                      OutlineCase{"z1000_large_module", 1000, 50, 0, -0.5, 499},
                      OutlineCase{"z1000_helical_small", 1000, 0.5, 30, 0.5, 0}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kellvor
