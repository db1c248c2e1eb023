#include "outline/contour_area.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/constants.h"
#include "outline/generated_root.h"
#include "outline/outline_test_util.h"

namespace kellvor {
namespace {

double areaOf(const std::vector<ContourElement>& elements) {
    ContourArea area;
    for (const ContourElement& e : elements)
        area.add(e);
    return area.value();
}

Point2 polar(double r, double degrees) {
    return {r * std::cos(degrees * kDegToRad), r * std::sin(degrees * kDegToRad)};
}

// A circle about c made of `count` arcs, counter-clockwise or clockwise.
std::vector<ContourElement> circle(Point2 c, double r, int count, bool ccw) {
    std::vector<ContourElement> arcs;
    for (int i = 0; i < count; ++i) {
        const double a = 360.0 * i / count, b = 360.0 * (i + 1) / count;
        const Point2 p{c.x + polar(r, a).x, c.y + polar(r, a).y};
        const Point2 q{c.x + polar(r, b).x, c.y + polar(r, b).y};
        arcs.push_back(ccw ? arcElement(c, r, p, q, true) : arcElement(c, r, q, p, false));
    }
    if (!ccw)
        std::reverse(arcs.begin(), arcs.end());
    return arcs;
}

TEST(ContourArea, PolygonsAndCircles) {
    // A 3 x 2 rectangle far from the origin, both ways round.
    const Point2 a{1e6, 1e6}, b{1e6 + 3, 1e6}, c{1e6 + 3, 1e6 + 2}, d{1e6, 1e6 + 2};
    EXPECT_DOUBLE_EQ(areaOf({segmentElement(a, b), segmentElement(b, c), segmentElement(c, d),
                             segmentElement(d, a)}),
                     6);
    EXPECT_DOUBLE_EQ(areaOf({segmentElement(a, d), segmentElement(d, c), segmentElement(c, b),
                             segmentElement(b, a)}),
                     -6);
    for (const int count : {2, 3, 1000}) {
        EXPECT_NEAR(areaOf(circle({2, -5}, 1.5, count, true)), kPi * 2.25, 1e-13) << count;
        EXPECT_NEAR(areaOf(circle({2, -5}, 1.5, count, false)), -kPi * 2.25, 1e-13) << count;
    }
    // A half disk: the diameter and the arc back over the top.
    EXPECT_NEAR(
        areaOf({segmentElement({-1, 0}, {1, 0}), arcElement({0, 0}, 1, {1, 0}, {-1, 0}, true)}),
        kPi / 2, 1e-15);
    // The same half disk closed by the lower arc run clockwise: the disk's other half.
    EXPECT_NEAR(
        areaOf({segmentElement({-1, 0}, {1, 0}), arcElement({0, 0}, 1, {1, 0}, {-1, 0}, false)}),
        -kPi / 2, 1e-15);
}

// A tiny arc of a huge circle (the series branch) against the segment area in long double.
TEST(ContourArea, TinyArcsOfLargeCircles) {
    for (const double sweepDeg : {1e-6, 1e-3, 0.5, 0.6, 5.0}) {
        const double r = 1e5;
        const Point2 p = polar(r, 90 - sweepDeg / 2), q = polar(r, 90 + sweepDeg / 2);
        const double area = areaOf({arcElement({0, 0}, r, p, q, true), segmentElement(q, p)});
        const long double t = static_cast<long double>(sweepDeg) * kPi / 180;
        const long double expected = 0.5L * r * r * (t - std::sin(t));
        EXPECT_NEAR(area, static_cast<double>(expected),
                    1e-9 * static_cast<double>(expected) + 1e-12)
            << sweepDeg;
    }
}

// The outline runs clockwise: its signed area is negative, and lies between the root and tip
// disks; the generated root cuts deeper than the three-point arc's gaps.
TEST(OutlineArea, ClockwiseOutlineBetweenRootAndTipDisks) {
    for (const double beta : {0.0, 25.0}) {
        const GearPairInput in = test::gearInput(17, 2, beta, 0, 10);
        const GearPairGeometry g = computeGearPairGeometry(in);
        const GeneratedRoot root = buildGeneratedRoot(in, g);
        const double generated = -outlineArea(root.profile, root.arc, in.z1);
        EXPECT_GT(generated, kPi * g.rf1 * g.rf1);
        EXPECT_LT(generated, kPi * g.ra1 * g.ra1);
        // Shifting the rack outwards by 0.1 mn adds about the tooth band's share of an annulus
        // of that width at the reference circle: half of it is tooth.
        GearPairInput shifted = in;
        shifted.x1 = 0.1;
        const GearPairGeometry gs = computeGearPairGeometry(shifted);
        const GeneratedRoot more = buildGeneratedRoot(shifted, gs);
        const double grown = -outlineArea(more.profile, more.arc, in.z1) - generated;
        EXPECT_GT(grown, 0.3 * 2 * kPi * g.d1 / 2 * 0.1 * in.mn);
    }
}

}  // namespace
}  // namespace kellvor
