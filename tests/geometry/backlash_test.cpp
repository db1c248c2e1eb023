#include "geometry/backlash.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kellvor {
namespace {

struct BacklashCase {
    const char* name;
    double jn;
    double mn;
    bool allowed;
};

void PrintTo(const BacklashCase& c, std::ostream* os) {
    *os << c.name;
}

class BacklashRange : public testing::TestWithParam<BacklashCase> {};

TEST_P(BacklashRange, ZeroUpToHalfTheModuleExclusive) {
    EXPECT_EQ(backlashInRange(GetParam().jn, GetParam().mn), GetParam().allowed);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Cases, BacklashRange,
                         testing::Values(BacklashCase{"zero", 0.0, 8.0, true},
                                         BacklashCase{"negativeZero", -0.0, 8.0, true},
                                         BacklashCase{"justBelowHalf", std::nextafter(4.0, 0.0),
                                                      8.0, true},
                                         BacklashCase{"half", 4.0, 8.0, false},
                                         BacklashCase{"negative", -1e-12, 8.0, false},
                                         BacklashCase{"notANumber", kNaN, 8.0, false},
                                         BacklashCase{"infinite", kInf, 8.0, false},
                                         BacklashCase{"smallModule", 0.249, 0.5, true}),
                         [](const auto& row) { return std::string(row.param.name); });

// The thinning and the circumferential backlash follow from jbt = jn / cos(betab); no backlash
// thins nothing.
TEST(Backlash, ThinningAndCircularBacklash) {
    const GearPairGeometry g = computeGearPairGeometry(GearPairInput{});
    EXPECT_EQ(flankThinning(g, 0.0), 0.0);
    EXPECT_EQ(nominalCircularBacklash(g, 0.0), 0.0);
    const double jbt = 0.2 / std::cos(g.betab);
    EXPECT_DOUBLE_EQ(baseBacklash(g, 0.2), jbt);
    EXPECT_DOUBLE_EQ(flankThinning(g, 0.2) * g.rb1, jbt / 4);
    EXPECT_DOUBLE_EQ(nominalCircularBacklash(g, 0.2) * std::cos(g.alphawt), jbt);
}

}  // namespace
}  // namespace kellvor
