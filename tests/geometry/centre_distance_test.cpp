#include "geometry/centre_distance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "geometry/gear_pair_geometry.h"

namespace kellvor {
namespace {

// The independently computed numbers in tests/data/centre_distance_reference.txt.
std::map<std::string, double> reference() {
    std::map<std::string, double> values;
    std::ifstream in(std::string(KELLVOR_TEST_DATA_DIR) + "/centre_distance_reference.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, key, value;
        if (fields >> name >> key >> value)
            values[name + " " + key] = std::stod(value);
    }
    return values;
}

// A random valid pair whose working pressure angle exists.
struct RandomPairs {
    std::uint64_t state = 2024;
    double uniform() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) * 0x1.0p-53;
    }
    GearPairInput next() {
        GearPairInput in;
        in.z1 = 8 + static_cast<std::int32_t>(uniform() * 150);
        in.z2 = 8 + static_cast<std::int32_t>(uniform() * 300);
        in.mn = 0.5 + uniform() * 49.5;
        in.beta = uniform() * 30;
        in.x1 = uniform() - 0.5;
        in.x2 = uniform() - 0.5;
        return in;
    }
};

// Computing a from x1 and x2 and then the shift sum back from a gives the sum again, and with one
// shift given the other, to 1e-12 (z1 + z2).
TEST(ShiftSumForCentreDistance, RecoversTheShiftsOfAGivenPair) {
    RandomPairs pairs;
    int tried = 0;
    for (int i = 0; i < 2000; ++i) {
        const GearPairInput in = pairs.next();
        const GearPairGeometry g = computeGearPairGeometry(in);
        if (!std::isfinite(g.a))
            continue;
        ++tried;
        const double tolerance = 1e-12 * (in.z1 + in.z2);
        EXPECT_NEAR(shiftSumForCentreDistance(in, g.a), in.x1 + in.x2, tolerance) << i;
        const ShiftDesign withX1 = designShifts(in, g.a, in.x1, std::nullopt);
        ASSERT_EQ(withX1.error, ShiftDesignError::none) << i;
        EXPECT_NEAR(withX1.x2, in.x2, tolerance) << i;
        const ShiftDesign withX2 = designShifts(in, g.a, std::nullopt, in.x2);
        ASSERT_EQ(withX2.error, ShiftDesignError::none) << i;
        EXPECT_NEAR(withX2.x1, in.x1, tolerance) << i;
    }
    EXPECT_GT(tried, 1500);
}

// The balanced split agrees with the independent script, and its two slidings are equal.
TEST(DesignShifts, BalancedSplitMatchesTheIndependentScript) {
    std::map<std::string, double> ref = reference();
    struct Case {
        const char* name;
        GearPairInput input;
        double centre;
    };
    const Case cases[] = {
        {"spur_20_40", {20, 40, 2.0, 20, 0.0, 0, 0, 10}, 60.5},
        {"helical_17_40", {17, 40, 8.0, 45, 20.0, 0, 0, 10}, 245.0},
        {"close_30_31", {30, 31, 3.0, 20, 15.0, 0, 0, 10}, 94.0},
        {"negative_25_50", {25, 50, 2.5, 20, 5.0, 0, 0, 10}, 93.5},
        {"pinion_14_60", {14, 60, 1.5, 20, 10.0, 0, 0, 10}, 57.0},
        {"pinion_12_60", {12, 60, 1.5, 20, 10.0, 0, 0, 10}, 55.0},
    };
    for (const Case& c : cases) {
        const std::string name = c.name;
        ASSERT_EQ(ref.count(name + " xsum"), 1u) << name;
        const ShiftDesign d = designShifts(c.input, c.centre, std::nullopt, std::nullopt);
        EXPECT_NEAR(d.xsum, ref[name + " xsum"], 1e-12 * (c.input.z1 + c.input.z2)) << name;
        if (std::isnan(ref[name + " x1"])) {
            EXPECT_EQ(d.error, ShiftDesignError::noBalance) << name;
            continue;
        }
        ASSERT_EQ(d.error, ShiftDesignError::none) << name;
        EXPECT_NEAR(d.x1, ref[name + " x1"], 1e-9) << name;
        EXPECT_NEAR(d.x1 + d.x2, d.xsum, 1e-15) << name;
        GearPairInput split = c.input;
        split.x1 = d.x1;
        split.x2 = d.x2;
        const SpecificSliding s = specificSliding(split);
        EXPECT_NEAR(s.zeta1, s.zeta2, 1e-9) << name;
        EXPECT_NEAR(s.zeta1, ref[name + " zeta"], 1e-9 * std::fabs(s.zeta1)) << name;
        EXPECT_NEAR(computeGearPairGeometry(split).a, c.centre, 1e-12 * c.centre) << name;
    }
}

TEST(DesignShifts, ErrorsNameTheCause) {
    const GearPairInput in{20, 40, 2.0, 20, 0.0, 0, 0, 10};
    const GearPairGeometry g = computeGearPairGeometry(in);
    // At or below ad cos(alphat) the base circles touch: no working pressure angle.
    const double touching = g.ad * std::cos(g.alphat);
    EXPECT_EQ(designShifts(in, touching, std::nullopt, std::nullopt).error,
              ShiftDesignError::noWorkingAngle);
    EXPECT_EQ(designShifts(in, touching * 0.9, 0.1, std::nullopt).error,
              ShiftDesignError::noWorkingAngle);
    EXPECT_TRUE(std::isnan(shiftSumForCentreDistance(in, -5)));
    // A sum of about 0.9 with x1 = 0.2 leaves 0.7 for gear 2.
    const double far = 62.0;
    const ShiftDesign given = designShifts(in, far, 0.2, std::nullopt);
    ASSERT_EQ(given.error, ShiftDesignError::shiftOutOfRange);
    EXPECT_EQ(given.gear, 2);
    EXPECT_NEAR(given.value, given.xsum - 0.2, 1e-15);
    const ShiftDesign other = designShifts(in, far, std::nullopt, -0.45);
    ASSERT_EQ(other.error, ShiftDesignError::shiftOutOfRange);
    EXPECT_EQ(other.gear, 1);
    // A sum beyond what both gears may carry.
    const ShiftDesign tooFar = designShifts(in, 64.0, std::nullopt, std::nullopt);
    EXPECT_EQ(tooFar.error, ShiftDesignError::shiftOutOfRange);
    EXPECT_GT(tooFar.xsum, 1.0);
}

}  // namespace
}  // namespace kellvor
