#include "outline/mesh_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "geometry/backlash.h"
#include "geometry/constants.h"
#include "outline/outline_test_util.h"

namespace kellvor {
namespace {

// A pair of the range whose teeth do not interfere: enough teeth and no negative shift.
struct RandomPair {
    GearPairInput input;
    double jn = 0;
};

std::vector<RandomPair> randomPairs(int count) {
    std::mt19937 rng(20240611);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    };
    const auto integer = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    std::vector<RandomPair> pairs;
    for (int i = 0; i < count; ++i) {
        RandomPair p;
        p.input = GearPairInput{
            integer(17, 90),    integer(17, 120),  uniform(0.5, 12.0), 10.0,
            uniform(0.0, 30.0), uniform(0.0, 0.5), uniform(0.0, 0.5),  integer(2, 40)};
        p.jn = i % 3 == 0 ? 0.0 : uniform(0.0, 0.3) * p.input.mn;
        pairs.push_back(p);
    }
    return pairs;
}

std::string describe(const GearPairInput& in, double jn) {
    return std::to_string(in.z1) + "/" + std::to_string(in.z2) + " mn " + std::to_string(in.mn) +
           " beta " + std::to_string(in.beta) + " x " + std::to_string(in.x1) + "/" +
           std::to_string(in.x2) + " elements " + std::to_string(in.segmentCount) + " jn " +
           std::to_string(jn);
}

// The assembly puts tooth 0 of gear 1 in the middle of a gap of gear 2 and both outlines are
// mirror images across the line of centres there: the free turns reach equally far both ways.
TEST(FreeTurn, SymmetricAboutZeroAtTheStart) {
    for (const RandomPair& p : randomPairs(30)) {
        const MeshModel model = prepareMesh(test::meshSetup(p.input, p.jn));
        const std::optional<FreeTurn> free = freeTurn(model, 0.0);
        ASSERT_TRUE(free) << describe(p.input, p.jn);
        EXPECT_LE(free->lo, 0.0) << describe(p.input, p.jn);
        EXPECT_GE(free->hi, 0.0) << describe(p.input, p.jn);
        EXPECT_LE(std::fabs(free->lo + free->hi), 1e-12) << describe(p.input, p.jn);
    }
}

// The flank elements are chords inside the true involutes, and the true involutes mesh without
// backlash at the working centre distance: what is left is the chords' sag, falling as elements
// are added.
TEST(MeshCheck, BacklashFallsWithMoreElements) {
    double previous = HUGE_VAL;
    for (const std::int32_t elements : {10, 40, 200, 499}) {
        const GearPairInput in{20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, elements};
        const MeshCheck check = checkMesh(test::meshSetup(in));
        EXPECT_FALSE(check.interferencePhi1) << elements;
        EXPECT_GT(check.jtMin, 0.0) << elements;
        EXPECT_LT(check.jtMin, previous) << elements;
        EXPECT_LE(check.jtMin, check.jtMax) << elements;
        previous = check.jtMin;
    }
    EXPECT_LT(previous, 1e-5 * 2.0);
}

// Each flank turned by jbt / (4 rb) opens jbt along the line of action, jn / (cos(alphawt)
// cos(betab)) on the working circle: on top of the elements' own backlash. The working pressure
// angle matters: with the transverse one the figure would lie 0.9 % off.
TEST(MeshCheck, BacklashAddsItsCircularBacklash) {
    const GearPairInput in{20, 40, 2.0, 20.0, 0.0, 0.2, 0.1, 20};
    const double jn = 0.1;
    const MeshCheck plain = checkMesh(test::meshSetup(in));
    const MeshCheck thinned = checkMesh(test::meshSetup(in, jn));
    const GearPairGeometry g = computeGearPairGeometry(in);
    EXPECT_EQ(thinned.jn, jn);
    EXPECT_EQ(thinned.jtSoll, nominalCircularBacklash(g, jn));
    const double expected = thinned.jtSoll + plain.jtMin;
    EXPECT_NEAR(thinned.jtMin, expected, 0.003 * expected);
    const double withTransverseAngle = jn / (std::cos(g.alphat) * std::cos(g.betab)) + plain.jtMin;
    EXPECT_GT(std::fabs(thinned.jtMin - withTransverseAngle), 0.003 * withTransverseAngle);
}

// Moved 0.05 mn closer than the working centre distance, the teeth of a pair without backlash
// cannot fit at any turn.
TEST(MeshCheck, CloserPairInterferesAtEveryStep) {
    for (const GearPairInput& in :
         {GearPairInput{20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 4}, GearPairInput{}}) {
        const MeshSetup setup = test::meshSetup(in, 0.0, -0.05 * in.mn);
        const MeshModel model = prepareMesh(setup);
        int free = 0;
        for (std::int32_t k = 0; k < kMeshSteps; ++k)
            free += freeTurn(model, k * (360.0 / in.z1) / 360.0 * kDegToRad).has_value();
        EXPECT_EQ(free, 0) << in.z1;
        const MeshCheck check = checkMesh(setup);
        ASSERT_TRUE(check.interferencePhi1);
        EXPECT_EQ(*check.interferencePhi1, 0.0);
        EXPECT_TRUE(std::isnan(check.jtMin));
        EXPECT_TRUE(std::isnan(check.jtMax));
    }
}

// Gears that cannot reach each other leave every turn of half a pitch free.
TEST(FreeTurn, FarApartEverythingIsFree) {
    const GearPairInput in{20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 4};
    const MeshModel model = prepareMesh(test::meshSetup(in, 0.0, 10.0));
    const std::optional<FreeTurn> free = freeTurn(model, 0.3);
    ASSERT_TRUE(free);
    EXPECT_EQ(free->lo, -kPi / 40);
    EXPECT_EQ(free->hi, kPi / 40);
}

}  // namespace
}  // namespace kellvor
