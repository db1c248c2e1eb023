#include "outline/generated_root.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "geometry/constants.h"
#include "geometry/input_validation.h"
#include "outline/gear_outline.h"
#include "outline/outline_check.h"
#include "outline/outline_test_util.h"

namespace kellvor {
namespace {

double involute(double a) {
    return std::tan(a) - a;
}

double radius(Point2 p) {
    return std::hypot(p.x, p.y);
}

double distanceToSegment(Point2 p, Point2 a, Point2 b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t =
        std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Textbook relations of the basic rack (tool addendum 1.25 mn, tip radius 0.38 mn), written
// from the gear's values, not from the code under test.
struct Textbook {
    double r, rb, alphat, rf;
    double formDepth;  // depth below the reference circle where the rounding meets the flank

    explicit Textbook(const GearPairInput& in) {
        const double cb = std::cos(in.beta * kDegToRad);
        alphat = std::atan(std::tan(kAlphan) / cb);
        r = in.z1 * in.mn / cb / 2;
        rb = r * std::cos(alphat);
        rf = r + (in.x1 - 1.25) * in.mn;
        formDepth = (1.25 - 0.38 * (1 - std::sin(kAlphan)) - in.x1) * in.mn;
    }
    // Undercut when the flank's lowest point generates below the interference point, i.e.
    // x < (1.25 - 0.38 (1 - sin alphan)) - z sin^2(alphat) / (2 cos beta).
    bool undercut() const { return formDepth > r * std::sin(alphat) * std::sin(alphat); }
    // The flank's lowest point meets the line of action formDepth / sin(alphat) from the pitch
    // point; the point it generates lies rb and that distance to the interference point apart.
    double formRadius() const {
        const double g = r * std::sin(alphat) - formDepth / std::sin(alphat);
        return std::sqrt(rb * rb + g * g);
    }
};

struct RootCase {
    const char* name;
    std::int32_t z1;
    double mn;
    double beta;
    double x1;
    std::int32_t segments;
    double corner = 0;  // least angle between fillet and involute where undercut (radians)
};

void PrintTo(const RootCase& c, std::ostream* os) {
    *os << c.name;
}

class GeneratedRootTable : public ::testing::TestWithParam<RootCase> {
  protected:
    void SetUp() override {
        const RootCase& c = GetParam();
        input = test::gearInput(c.z1, c.mn, c.beta, c.x1, c.segments);
        ASSERT_TRUE(validateInput(input));
        geometry = computeGearPairGeometry(input);
        root = buildGeneratedRoot(input, geometry);
    }
    // The first flank: fillet points 0 .. f, involute f .. f + s.
    std::span<const Point2> fillet() const {
        return std::span(root.profile.points).first(static_cast<std::size_t>(f()) + 1);
    }
    std::int32_t f() const { return root.profile.filletCount; }
    GearPairInput input;
    GearPairGeometry geometry;
    GeneratedRoot root;
};

TEST_P(GeneratedRootTable, CountsPointsOfFilletAndInvolute) {
    const std::int32_t s = input.segmentCount;
    EXPECT_GE(f(), std::max(s, kMinFilletSegments));
    EXPECT_EQ(f(), root.filletSegments);
    EXPECT_EQ(root.profile.count(), 2 * (f() + s + 1));
    // The second flank mirrors the first.
    const auto& p = root.profile.points;
    for (std::size_t j = 0; j < p.size(); ++j) {
        ASSERT_EQ(p[j].x, -p[p.size() - 1 - j].x);
        ASSERT_EQ(p[j].y, p[p.size() - 1 - j].y);
    }
}

TEST_P(GeneratedRootTable, FormRadiusAndUndercutAsTheTextbookHasThem) {
    const Textbook book(input);
    EXPECT_EQ(root.undercut, book.undercut());
    if (!book.undercut()) {
        EXPECT_NEAR(root.formRadius, book.formRadius(), 1e-9 * input.mn);
    } else {
        // Undercut, the fillet meets the involute above the base circle, but lower than the
        // point the flank's end generates on the involute's far branch.
        EXPECT_GT(root.formRadius, book.rb);
        EXPECT_LT(root.formRadius, book.formRadius());
    }
}

TEST_P(GeneratedRootTable, InvolutePointsLieOnTheInvolute) {
    const Textbook book(input);
    const double halfTooth =
        (kHalfPi + 2 * input.x1 * std::tan(kAlphan)) / input.z1 + involute(book.alphat);
    const std::int32_t s = input.segmentCount;
    double worst = 0;
    for (std::int32_t n = f(); n <= f() + s; ++n) {
        const Point2 p = root.profile.points[static_cast<std::size_t>(n)];
        const double alpha = std::acos(std::min(1.0, book.rb / radius(p)));
        worst = std::max(worst, std::fabs(std::atan2(p.x, p.y) + involute(alpha) - halfTooth));
    }
    EXPECT_LT(worst * book.rb, 1e-12 * input.mn);
    const Point2 start = root.profile.points[static_cast<std::size_t>(f())];
    EXPECT_NEAR(radius(start), root.formRadius, 1e-12 * root.formRadius);
}

// The root arc runs under the rack's tip land: in the normal section its width is
// 2 (pi/4 - (1.25 - 0.38) tan(alphan) - 0.38 / cos(alphan)) mn, stretched by 1 / cos(beta)
// along the pitch line and rolled onto the root circle (angle = length / r).
TEST_P(GeneratedRootTable, RootArcLiesUnderTheTipLand) {
    const Textbook book(input);
    EXPECT_EQ(root.arc.centreX, 0);
    EXPECT_EQ(root.arc.centreY, 0);
    EXPECT_TRUE(root.arc.clockwise);
    EXPECT_NEAR(root.arc.radius, book.rf, 1e-12 * book.r);
    const double land = 2 * (kPi / 4 - 0.87 * std::tan(kAlphan) - 0.38 / std::cos(kAlphan)) *
                        input.mn / std::cos(input.beta * kDegToRad);
    const Point2 p1 = root.profile.points.front();
    const Point2 p0 = nextToothFlankEnd(root.profile, 360.0 / input.z1);
    EXPECT_NEAR(radius(p1), book.rf, 1e-12 * book.r);
    const double sweep = std::atan2(p1.y, p1.x) - std::atan2(p0.y, p0.x);
    EXPECT_NEAR(sweep, land / book.r, 1e-12);
    EXPECT_GT(land, 0.1 * input.mn);
    EXPECT_LT(land, 0.15 * input.mn);
}

// Each fillet leaves the root circle along it and rises monotonically to the involute, its
// points evenly spaced by arc length.
TEST_P(GeneratedRootTable, FilletRisesFromTheRootCircleInEvenSteps) {
    const auto points = fillet();
    double shortest = 1e300, longest = 0;
    for (std::size_t k = 1; k < points.size(); ++k) {
        ASSERT_GT(radius(points[k]), radius(points[k - 1])) << k;
        const double step =
            std::hypot(points[k].x - points[k - 1].x, points[k].y - points[k - 1].y);
        shortest = std::min(shortest, step);
        longest = std::max(longest, step);
    }
    EXPECT_LT(longest / shortest, 1.03);
    // Tangent to the root circle: the first element rises by about its length squared over
    // the curvature radius, far less than its length.
    const double rise = radius(points[1]) - radius(points[0]);
    EXPECT_LT(rise, 0.1 * shortest);
}

// Without undercut the fillet leaves the involute tangentially; undercut, they meet in a
// corner. The involute's tangent at the form point, (sin t - cos t tan a, cos t + sin t tan a)
// for polar angle t and pressure angle a there, against the fillet's last chord drawn fine.
TEST_P(GeneratedRootTable, FilletMeetsTheInvoluteAsTheRackCutsIt) {
    GearPairInput fine = input;
    fine.segmentCount = kMaxSegmentCount;
    const GeneratedRoot dense = buildGeneratedRoot(fine, geometry);
    const auto& p = dense.profile.points;
    const auto k = static_cast<std::size_t>(dense.profile.filletCount);
    const double chord = std::atan2(p[k].y - p[k - 1].y, p[k].x - p[k - 1].x);
    const double t = std::atan2(p[k].x, p[k].y);
    const double a = std::acos(geometry.rb1 / radius(p[k]));
    const double tangent = std::atan2(std::cos(t) + std::sin(t) * std::tan(a),
                                      std::sin(t) - std::cos(t) * std::tan(a));
    const double kink = std::fabs(std::remainder(tangent - chord, 2 * kPi));
    EXPECT_EQ(dense.undercut, root.undercut);
    if (root.undercut)
        EXPECT_GT(kink, GetParam().corner);
    else
        EXPECT_LT(kink, 0.003);
}

// The coarse fillet's chords stay within 1e-4 mn of the fillet (its finest drawing).
TEST_P(GeneratedRootTable, ChordsStayCloseToTheFillet) {
    GearPairInput fine = input;
    fine.segmentCount = kMaxSegmentCount;
    const GeneratedRoot dense = buildGeneratedRoot(fine, geometry);
    const auto coarse = fillet();
    double worst = 0;
    for (std::int32_t i = 0; i <= dense.profile.filletCount; ++i) {
        const Point2 q = dense.profile.points[static_cast<std::size_t>(i)];
        double nearest = 1e300;
        for (std::size_t k = 1; k < coarse.size(); ++k)
            nearest = std::min(nearest, distanceToSegment(q, coarse[k - 1], coarse[k]));
        worst = std::max(worst, nearest);
    }
    EXPECT_LT(worst, kFilletChordFactor * input.mn);
}

// The walk closes every gap with the short arc of the root circle about the gear centre: it
// runs counter-clockwise from the next tooth's first point to this tooth's last, so the contour
// (clockwise) takes it from its end back to its start.
TEST_P(GeneratedRootTable, WalkClosesEachGapWithTheRootCircle) {
    const double tau = 360.0 / input.z1;
    const double tolerance = 1e-9 * input.mn;
    Point2 firstOfTooth0, pendingStart;
    double worst = 0;
    walkGearOutline(root.profile, root.arc, input.z1, [&](const OutlineTooth& t) {
        EXPECT_TRUE(t.arcClockwise);
        EXPECT_EQ(t.arcCentreX, 0);
        EXPECT_EQ(t.arcCentreY, 0);
        const auto on = [&](double deg) {
            return Point2{t.arcRadius * std::cos(deg * kDegToRad),
                          t.arcRadius * std::sin(deg * kDegToRad)};
        };
        const auto pts = t.points();
        if (t.index == 0)
            firstOfTooth0 = pts.front();
        else
            worst = std::max(
                worst, std::hypot(pendingStart.x - pts.front().x, pendingStart.y - pts.front().y));
        const Point2 end = on(t.arcEndAngle);
        worst = std::max(worst, std::hypot(end.x - pts.back().x, end.y - pts.back().y));
        pendingStart = on(t.arcStartAngle);
        const double sweep = std::fmod(t.arcEndAngle - t.arcStartAngle + 720.0, 360.0);
        EXPECT_LT(sweep, tau / 2);
        return true;
    });
    worst = std::max(
        worst, std::hypot(pendingStart.x - firstOfTooth0.x, pendingStart.y - firstOfTooth0.y));
    EXPECT_LT(worst, tolerance);
    // The contour check sees the arcs run clockwise.
    for (const ContourElement& e : outlineElements(root.profile, root.arc, input.z1, 0, 2))
        EXPECT_TRUE(!e.isArc || !e.ccw);
}

TEST_P(GeneratedRootTable, OutlineNeverCrossesItself) {
    EXPECT_FALSE(findOutlineDefect(root.profile, root.arc, input.z1));
}

const RootCase kRootCases[] = {
    {"z8_x0_spur_undercut", 8, 1, 0, 0, 10, 0.2},
    {"z8_x0_helical25_undercut", 8, 1, 25, 0, 10, 0.2},
    {"z12_xm05_spur_undercut", 12, 2, 0, -0.5, 4, 0.2},
    {"z12_xm05_helical25_undercut", 12, 2, 25, -0.5, 30, 0.2},
    {"z17_x0_helical25", 17, 8, 25, 0, 10},
    {"z30_x05_spur", 30, 1, 0, 0.5, 10},
    {"z30_x05_helical25", 30, 1, 25, 0.5, 0},
    {"z23_xm05_barely_undercut", 23, 1, 0, -0.5, 7, 0.03},
    {"z4_x05_pointed_undercut", 4, 2, 0, 0.5, 5, 0.2},
    {"z6_x05_pointed_helical", 6, 3, 30, 0.5, 9},
    {"z200_large_module", 200, 50, 30, -0.5, 499},
    {"z1000_small_module", 1000, 0.5, 10, 0.2, 3},
};

INSTANTIATE_TEST_SUITE_P(Gears, GeneratedRootTable, testing::ValuesIn(kRootCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The undercut and the form radius over many inputs, against the textbook relations.
TEST(GeneratedRoot, UndercutAndFormRadiusOverManyInputs) {
    std::mt19937 random(14);
    std::uniform_int_distribution<std::int32_t> teeth(4, 80);
    std::uniform_real_distribution<double> shift(-0.5, 0.5), helix(0, 30);
    int undercut = 0;
    for (int i = 0; i < 1000; ++i) {
        const GearPairInput in = test::gearInput(teeth(random), 1, helix(random), shift(random), 4);
        const Textbook book(in);
        const GeneratedRoot root = buildGeneratedRoot(in, computeGearPairGeometry(in));
        // The involute always keeps a part between the fillet and the tip.
        ASSERT_LT(root.formRadius, root.profile.tipRadius) << in.z1 << " " << in.x1;
        // Inputs within a hair of the limit could fall either way.
        if (std::fabs(book.formDepth - book.r * std::pow(std::sin(book.alphat), 2)) < 1e-9)
            continue;
        ASSERT_EQ(root.undercut, book.undercut()) << in.z1 << " " << in.x1 << " " << in.beta;
        if (!root.undercut) {
            ASSERT_NEAR(root.formRadius, book.formRadius(), 1e-9) << in.z1 << " " << in.x1;
        }
        undercut += root.undercut;
    }
    // Both kinds were drawn.
    EXPECT_GT(undercut, 50);
    EXPECT_LT(undercut, 950);
}

// At the ends of the range the outline is simple, or (four spur teeth with the largest negative
// shift, whose fillets meet under the tooth) the contour check refuses it.
TEST(GeneratedRoot, CornersOfTheRange) {
    for (const std::int32_t z : {4, 5, 6, 7, 500}) {
        for (const double x : {-0.5, 0.5}) {
            for (const double beta : {0.0, 30.0}) {
                const GearPairInput in = test::gearInput(z, 50, beta, x, 499);
                const GeneratedRoot root = buildGeneratedRoot(in, computeGearPairGeometry(in));
                EXPECT_LT(root.formRadius, root.profile.tipRadius);
                for (const Point2 p : root.profile.points)
                    ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
                const bool cutOff = z == 4 && x < 0 && beta == 0;
                EXPECT_EQ(findOutlineDefect(root.profile, root.arc, z).has_value(), cutOff)
                    << z << " " << x << " " << beta;
            }
        }
    }
}

// The form point of z = 30, x = 0.5, spur, at its printed precision: not the start radius of the
// three-point-arc outline.
TEST(GeneratedRoot, FormRadiusOfAShiftedSpurGear) {
    const GearPairInput in = test::gearInput(30, 1, 0, 0.5, 10);
    const GearPairGeometry g = computeGearPairGeometry(in);
    const GeneratedRoot root = buildGeneratedRoot(in, g);
    EXPECT_NEAR(root.formRadius, 14.565, 5e-4);
    EXPECT_GT(std::fabs(root.formRadius - g.rs1), 0.01);
}

// A rack tooth thickened by d along the pitch line turns each involute by d / d1 towards the
// tooth's centre line and lengthens the tip land by d; the fillet moves with the flank.
TEST(GeneratedRoot, ThickerRackThinsTheFlanks) {
    const GearPairInput in = test::gearInput(17, 2, 20, 0.1, 10);
    const GearPairGeometry g = computeGearPairGeometry(in);
    const double d = 0.05;
    const GeneratedRoot plain = buildGeneratedRoot(in, g);
    const GeneratedRoot thick = buildGeneratedRoot(in, g, d);
    ASSERT_EQ(plain.profile.count(), thick.profile.count());
    EXPECT_NEAR(thick.formRadius, plain.formRadius, 1e-12);
    // The whole envelope turns with the rack's flank: rolling the shifted rack is rolling the
    // rack a little further, seen from a gear turned back by as much.
    for (std::size_t k = 0; k < plain.profile.points.size() / 2; ++k) {
        const Point2 a = plain.profile.points[k];
        const Point2 b = thick.profile.points[k];
        EXPECT_NEAR(radius(a), radius(b), 1e-12) << k;
        EXPECT_NEAR(std::atan2(a.x, a.y) - std::atan2(b.x, b.y), d / g.d1, 1e-12) << k;
    }
}

}  // namespace
}  // namespace kellvor
