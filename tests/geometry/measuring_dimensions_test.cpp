#include "geometry/measuring_dimensions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "geometry/assessment_reference.h"
#include "geometry/assessment_text.h"
#include "geometry/constants.h"
#include "support/printed.h"

namespace kellvor {
namespace {

using test::assessmentReference;
using test::printed;
using test::referenceValue;

GearInspection gear(std::int32_t z, double mn, double beta, double x, double DM) {
    const GearPairInput in{z, 40, mn, 10, beta, x, 0, 10};
    return inspectGear(in, computeGearPairGeometry(in), DM);
}

// mn = 1, x = 0, spur: the span widths of the tables.
TEST(InspectGear, TabulatedSpanWidths) {
    const GearInspection z20 = gear(20, 1, 0, 0, 1.68);
    EXPECT_EQ(z20.k, 3);
    EXPECT_EQ(printed(z20.Wk, 5), "7.6604");
    const GearInspection z30 = gear(30, 1, 0, 0, 1.68);
    EXPECT_EQ(z30.k, 4);
    EXPECT_EQ(printed(z30.Wk, 6), "10.7526");
    EXPECT_NEAR(z20.Wk, referenceValue("tabulated W3_z20"), 1e-12);
    EXPECT_NEAR(z30.Wk, referenceValue("tabulated W4_z30"), 1e-12);
}

// sn, k, Wk, the ball's contact radius and Md of both gears against the reference: Wk as an
// arc of the base circle, Md and the contact from a ball placed numerically on the flank (a
// helicoid for the helical pairs), for even and odd tooth counts.
TEST(InspectGearPair, MatchesTheIndependentConstruction) {
    for (const char* name :
         {"initial", "spur_even", "spur_odd", "helical_even", "helical_odd", "small", "wide"}) {
        const GearPairInput in = assessmentReference().pair(name).input;
        const std::string c = std::string(name) + " ";
        const double DM = referenceValue(c + "DM");
        EXPECT_EQ(DM, defaultBallDiameter(in.mn)) << name;
        const InspectionDimensions d = inspectGearPair(
            in, computeGearPairGeometry(in), computeGearPairGeometry(swappedInput(in)), DM);
        for (int i = 0; i < 2; ++i) {
            const GearInspection& g = d.gears[static_cast<std::size_t>(i)];
            const std::string n = std::to_string(i + 1);
            const double scale = referenceValue(c + "Md" + n);
            EXPECT_NEAR(g.sn, referenceValue(c + "sn" + n), 1e-12 * scale) << c << n;
            EXPECT_EQ(g.k, static_cast<std::int32_t>(referenceValue(c + "k" + n))) << c << n;
            EXPECT_NEAR(g.Wk, referenceValue(c + "Wk" + n), 1e-12 * scale) << c << n;
            // On a helicoid the reference finds the nearest flank point by golden sections: its
            // place is known to about the square root of the distance's rounding.
            EXPECT_NEAR(g.ballContact, referenceValue(c + "contact" + n), 1e-7 * scale) << c << n;
            // Every worked ball touches the drawn involute, so Md is given.
            EXPECT_NEAR(g.Md, referenceValue(c + "Md" + n), 1e-11 * scale) << c << n;
        }
    }
}

// The ball diameters whose contact lies between rs and the tip circle, against balls grown
// numerically until their contact reaches those radii (a spur gear's nearest flank point is
// refined by bisection in the reference).
TEST(BallRange, MatchesTheIndependentConstruction) {
    struct Row {
        const char* name;
        GearPairInput in;
    };
    const Row rows[] = {{"ball_range_z50", {50, 40, 2, 10, 0, 0.2, 0, 10}},
                        {"ball_range_z9", {9, 40, 1, 10, 0, -0.3, 0, 10}}};
    for (const Row& r : rows) {
        const BallRange range = ballRange(r.in, computeGearPairGeometry(r.in));
        EXPECT_NEAR(range.min, referenceValue(std::string(r.name) + " min"), 1e-10) << r.name;
        EXPECT_NEAR(range.max, referenceValue(std::string(r.name) + " max"), 1e-10) << r.name;
    }
}

// Over random gears: the balls at the ends of the range touch at rs and at the tip, Md is given
// exactly inside the range, and a thinning acts like the shift that gives the same thickness.
TEST(InspectGear, RangeEndsThinningAndDefaultBallOverRandomGears) {
    std::uint64_t state = 7;
    auto uniform = [&state](double lo, double hi) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return lo + (hi - lo) * static_cast<double>(state >> 11) * 0x1.0p-53;
    };
    for (int i = 0; i < 1000; ++i) {
        const GearPairInput in{static_cast<std::int32_t>(uniform(4, 300)),
                               40,
                               uniform(0.5, 50),
                               10,
                               uniform(0, 30),
                               uniform(-0.5, 0.5),
                               0,
                               10};
        const GearPairGeometry g = computeGearPairGeometry(in);
        const BallRange range = ballRange(in, g);
        ASSERT_LT(range.min, range.max) << i;
        if (g.rs1 > g.rb1) {
            EXPECT_NEAR(ballContactRadius(in, g, range.min), g.rs1, 1e-9 * g.ra1) << i;
        }
        if (std::isfinite(range.max)) {
            EXPECT_NEAR(ballContactRadius(in, g, range.max), g.ra1, 1e-9 * g.ra1) << i;
        }
        for (const double DM :
             {range.min * 0.99, 0.5 * (range.min + range.max), range.max * 1.01}) {
            EXPECT_EQ(std::isnan(inspectGear(in, g, DM).Md), !range.contains(DM)) << i;
        }

        const double thinning = uniform(0, 0.05) * in.mn;
        GearPairInput thinner = in;
        thinner.x1 -= thinning / (2 * in.mn * std::tan(kAlphan));
        const double DM = 0.5 * (range.min + range.max);
        const GearInspection thin = inspectGear(in, g, DM, thinning);
        const GearInspection plain = inspectGear(in, g, DM);
        const GearInspection shifted = inspectGear(thinner, computeGearPairGeometry(thinner), DM);
        EXPECT_NEAR(thin.sn, plain.sn - thinning, 1e-12 * g.ra1) << i;
        EXPECT_NEAR(thin.Wk, plain.Wk - thinning * std::cos(kAlphan), 1e-12 * g.ra1) << i;
        if (!std::isnan(thin.Md) && !std::isnan(shifted.Md)) {
            EXPECT_NEAR(thin.Md, shifted.Md, 1e-11 * g.ra1) << i;
        }
    }
    EXPECT_EQ(defaultBallDiameter(8), 13.44);
    EXPECT_EQ(defaultBallDiameter(0.5), 0.84);
    EXPECT_EQ(defaultBallDiameter(2.5), 4.2);
    EXPECT_EQ(defaultBallDiameter(1.25), 2.1);
}

TEST(FormatCheckListing, FindingsAndDimensions) {
    const GearPairInput in{6, 9, 1, 10, 25, 0.45, -0.3, 10};
    const GearPairGeometry g = computeGearPairGeometry(in);
    const GearPairGeometry s = computeGearPairGeometry(swappedInput(in));
    const std::string text =
        formatCheckListing(assessGearPair(in, g), inspectGearPair(in, g, s, 1.68));
    EXPECT_EQ(text.substr(0, 9), "Befunde:\n");
    EXPECT_NE(text.find("\n  Fehler: Eingriffsstörung an Zahnrad 2:"), std::string::npos);
    EXPECT_NE(text.find("Prüfmaße (Messkugel DM = 1.68 mm):\n  Zahnrad 1: sn = 1.8984 mm, W2 = "),
              std::string::npos)
        << text;
    const GearPairInput plain{17, 40, 8, 45, 20, 0, 0, 10};
    const GearPairGeometry pg = computeGearPairGeometry(plain);
    const GearPairGeometry ps = computeGearPairGeometry(swappedInput(plain));
    const std::string none =
        formatCheckListing(assessGearPair(plain, pg), inspectGearPair(plain, pg, ps, 40));
    EXPECT_EQ(none.substr(0, 15), "Befunde: keine\n");
    EXPECT_NE(none.find("Md = keine Angabe: die Messkugel berührt die Flanken nicht"),
              std::string::npos)
        << none;
}

}  // namespace
}  // namespace kellvor
