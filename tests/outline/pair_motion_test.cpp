#include "outline/pair_motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "geometry/constants.h"
#include "outline/contour.h"
#include "outline/mesh_check.h"
#include "outline/outline_check.h"
#include "outline/outline_test_util.h"

namespace kellvor {
namespace {

std::string describe(const GearPairInput& in) {
    return std::to_string(in.z1) + "/" + std::to_string(in.z2) + " mn " + std::to_string(in.mn) +
           " beta " + std::to_string(in.beta) + " x " + std::to_string(in.x1) + "/" +
           std::to_string(in.x2) + " elements " + std::to_string(in.segmentCount);
}

// Random pairs of the range that mesh without interference: enough teeth, no negative shift.
std::vector<GearPairInput> meshingPairs(int count, std::int32_t elements) {
    std::mt19937 rng(7031);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    };
    const auto integer = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    std::vector<GearPairInput> pairs;
    for (int i = 0; i < count; ++i)
        pairs.push_back(GearPairInput{integer(18, 80), integer(18, 120), uniform(0.5, 10.0), 10.0,
                                      uniform(0.0, 30.0), uniform(0.0, 0.4), uniform(0.0, 0.4),
                                      elements});
    return pairs;
}

PairMotion motionOf(const GearPairInput& in, double jn = 0, double shift = 0) {
    const GearPairGeometry g = computeGearPairGeometry(in);
    const MeshSetup s = test::meshSetup(in, jn, shift);
    return preparePairMotion(s.gear1, s.gear2, s.a, in.mn,
                             lineOfAction(g.db1 / 2, g.db2 / 2, g.a, g.alphawt));
}

// The point of a gear's own frame that the motion places at p.
Point2 ownPoint(const RigidMotion& m, Point2 p) {
    const double x = p.x - m.offset.x;
    const double y = p.y - m.offset.y;
    return Point2{m.c * x + m.s * y, -m.s * x + m.c * y};
}

double distance(Point2 p, Point2 q) {
    return std::hypot(p.x - q.x, p.y - q.y);
}

// At phi1 = 0 the pose is the assembly's; then the material of both gears at the pitch point
// (0, rw1) moves with the same velocity: the working circles roll on each other without slip,
// which holds only for gear 2 turning clockwise by phi1 z1 / z2.
TEST(PairPose, WorkingCirclesRollWithoutSlip) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> phi(-400.0, 400.0);
    for (const auto& [z1, z2] : {std::pair{4, 5}, {17, 40}, {40, 17}, {97, 211}}) {
        const double a = 0.5 * (z1 + z2) * 3.0;
        const PairPose start = pairPose(a, z1, z2, 0.0);
        const RigidMotion assembly = gear2Placement(a, z2);
        EXPECT_EQ(start.gear2.c, assembly.c);
        EXPECT_EQ(start.gear2.s, assembly.s);
        EXPECT_EQ(start.gear1.c, 1.0);
        const Point2 pitch{0.0, a * z1 / (z1 + z2)};
        for (int i = 0; i < 50; ++i) {
            const double at = phi(rng);
            const double step = 1e-6;
            const PairPose now = pairPose(a, z1, z2, at);
            const PairPose next = pairPose(a, z1, z2, at + step);
            const Point2 v1 = apply(next.gear1, ownPoint(now.gear1, pitch));
            const Point2 v2 = apply(next.gear2, ownPoint(now.gear2, pitch));
            // Both moved by rw1 * step (radians) in -x, to the rounding of the finite step.
            const double moved = pitch.y * step * kDegToRad;
            EXPECT_NEAR(v1.x - pitch.x, -moved, 1e-6 * moved) << z1 << "/" << z2 << " " << at;
            EXPECT_NEAR(v2.x - pitch.x, -moved, 1e-6 * moved) << z1 << "/" << z2 << " " << at;
            EXPECT_NEAR(v2.y - v1.y, 0.0, 1e-6 * moved) << z1 << "/" << z2 << " " << at;
        }
    }
}

// Without interference the path of contact runs between the tip circles, and its length over
// the base pitch is the transverse contact ratio computed from the gear formulas.
TEST(PathOfContact, LengthIsTheContactRatioTimesTheBasePitch) {
    for (const GearPairInput& in : meshingPairs(40, 8)) {
        const GearPairGeometry g = computeGearPairGeometry(in);
        const PairMotion m = motionOf(in);
        const std::optional<Segment2> path = pathOfContact(m);
        ASSERT_TRUE(path) << describe(in);
        const double tol = 1e-9 * g.a;
        EXPECT_NEAR(distance(path->a, Point2{0.0, m.a}), m.reach2, tol) << describe(in);
        EXPECT_NEAR(distance(path->b, Point2{0.0, 0.0}), m.reach1, tol) << describe(in);
        EXPECT_NEAR(distance(path->a, path->b), g.epsilonalpha * g.pet, tol) << describe(in);
    }
}

// The contact points lie on the path of contact, one base pitch apart, as many as the contact
// ratio allows, and roll along the line by rb1 per radian of gear 1 toward gear 2's base circle.
TEST(ContactPoints, OneBasePitchApartRollingAlongTheLine) {
    for (const GearPairInput& in : meshingPairs(12, 200)) {
        const GearPairGeometry g = computeGearPairGeometry(in);
        const PairMotion m = motionOf(in);
        const Segment2 path = pathOfContact(m).value();
        const Point2 d{(m.line.t2.x - m.line.t1.x), (m.line.t2.y - m.line.t1.y)};
        const double length = std::hypot(d.x, d.y);
        const double along0 = distance(path.a, m.line.t1);
        const double tau1 = 360.0 / in.z1;
        // The chords of 200 elements stay within a micrometre per module of the involute.
        const double tol = 1e-4 * in.mn;
        for (int k = 0; k < 24; ++k) {
            const double phi1 = (k + 0.37) * tau1 / 24;
            const std::vector<Point2> points = contactPoints(m, phi1);
            const std::string what = describe(in) + " phi1 " + std::to_string(phi1);
            ASSERT_GE(points.size(), static_cast<std::size_t>(std::floor(g.epsilonalpha))) << what;
            ASSERT_LE(points.size(), static_cast<std::size_t>(std::ceil(g.epsilonalpha))) << what;
            for (std::size_t i = 0; i < points.size(); ++i) {
                const Point2 p = points[i];
                const double off = (d.x * (p.y - m.line.t1.y) - d.y * (p.x - m.line.t1.x)) / length;
                EXPECT_NEAR(off, 0.0, 1e-9 * g.a) << what;
                if (i > 0) {
                    EXPECT_NEAR(distance(points[i - 1], p), g.pet, tol) << what;
                }
            }
            // A small turn moves the first point rb1 * turn along the line, away from t1.
            const double turn = 1e-3 * tau1;
            const std::vector<Point2> later = contactPoints(m, phi1 + turn);
            if (later.size() == points.size() && distance(points.front(), path.a) > tol) {
                const double moved =
                    distance(later.front(), m.line.t1) - distance(points.front(), m.line.t1);
                EXPECT_NEAR(moved, g.rb1 * turn * kDegToRad, tol) << what;
            }
            EXPECT_GE(distance(points.front(), m.line.t1), along0 - 1e-9 * g.a) << what;
        }
    }
}

// Every tooth that comes within reach of the other gear's centre belongs to the near teeth.
TEST(NearTeeth, HoldEveryToothWithinReachOfTheOtherGear) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> phi(-30.0, 390.0);
    std::vector<GearPairInput> pairs = meshingPairs(10, 4);
    pairs.push_back(GearPairInput{4, 5, 2.0, 10.0, 0.0, 0.5, 0.5, 3});
    pairs.push_back(GearPairInput{6, 200, 2.0, 10.0, 30.0, 0.5, 0.0, 3});
    for (const GearPairInput& in : pairs) {
        const PairMotion m = motionOf(in);
        for (int i = 0; i < 20; ++i) {
            const double at = phi(rng);
            const NearTeeth near = nearTeeth(m, at);
            const PairPose pose = pairPose(m.a, in.z1, in.z2, at);
            const auto check = [&](const GearOutline& g, ToothRun run, const RigidMotion& place,
                                   Point2 other, double reach) {
                const std::vector<ContourElement> all =
                    outlineElements(g.profile, g.arc, g.z, 0, g.z);
                const std::size_t n = all.size() / static_cast<std::size_t>(g.z);
                for (std::int32_t k = 0; k < g.z; ++k) {
                    const bool inRun = (k - run.first + g.z) % g.z < run.count;
                    for (std::size_t j = 0; j < n && !inRun; ++j) {
                        const ContourElement& e = all[static_cast<std::size_t>(k) * n + j];
                        for (const Point2 p : {e.start, e.end})
                            ASSERT_GT(distance(apply(place, p), other), reach)
                                << describe(in) << " phi1 " << at << " tooth " << k;
                    }
                }
            };
            check(m.gear1, near.gear1, pose.gear1, Point2{0.0, m.a}, m.reach2);
            check(m.gear2, near.gear2, pose.gear2, Point2{0.0, 0.0}, m.reach1);
        }
    }
}

// The overlap of the drawn gears and the mesh check's free turns, computed independently, tell
// the same: where the rolling position lies inside the free turns, nothing overlaps; where the
// free turns leave it out (or there are none), the teeth overlap, within both tip circles.
TEST(ToothOverlaps, AgreeWithTheMeshChecksFreeTurns) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<GearPairInput> pairs = meshingPairs(8, 6);
    pairs.push_back(GearPairInput{14, 40, 8.0, 45.0, 0.0, 0.0, 0.0, 10});
    pairs.push_back(GearPairInput{6, 40, 3.0, 20.0, 30.0, 0.5, 0.0, 9});
    pairs.push_back(GearPairInput{14, 40, 8.0, 45.0, 30.0, 0.0, -0.5, 10});
    const double margin = 1e-6;  // radians of gear 2 on either side of the rolling position
    int empty = 0;
    int overlapping = 0;
    for (const GearPairInput& in : pairs) {
        for (const double shift : {0.0, -0.05, -0.3}) {
            const double jn = shift == 0.0 ? 0.0 : 0.02 * in.mn;
            const MeshModel model = prepareMesh(test::meshSetup(in, jn, shift * in.mn));
            const PairMotion m = motionOf(in, jn, shift * in.mn);
            for (int i = 0; i < 12; ++i) {
                const double phi1 = unit(rng) * 360.0 / in.z1;
                const std::optional<FreeTurn> free = freeTurn(model, phi1 * kDegToRad);
                const bool clear = free && free->lo < -margin && free->hi > margin;
                const bool blocked = !free || free->lo > margin || free->hi < -margin;
                const std::vector<Ring> rings = toothOverlaps(m, phi1);
                const std::string what = describe(in) + " shift " + std::to_string(shift) +
                                         " phi1 " + std::to_string(phi1);
                if (clear) {
                    EXPECT_TRUE(rings.empty()) << what;
                    ++empty;
                } else if (blocked) {
                    EXPECT_FALSE(rings.empty()) << what;
                    ++overlapping;
                }
                for (const Ring& ring : rings)
                    for (const Point2 p : ring) {
                        EXPECT_LE(distance(p, Point2{0.0, 0.0}), m.reach1 * (1 + 1e-9)) << what;
                        EXPECT_LE(distance(p, Point2{0.0, m.a}), m.reach2 * (1 + 1e-9)) << what;
                    }
            }
        }
    }
    // Both sides were seen often.
    EXPECT_GT(empty, 50);
    EXPECT_GT(overlapping, 50);
}

}  // namespace
}  // namespace kellvor
