#include "geometry/assessment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <string>

#include "geometry/assessment_reference.h"
#include "geometry/assessment_text.h"
#include "geometry/input_validation.h"
#include "support/printed.h"

namespace kellvor {
namespace {

using test::assessmentReference;
using test::printed;
using test::referenceValue;

// Agreement of two independent computations: a few units in the 12th digit of the larger of the
// value and the gear's size (the reference solves by bisection and golden sections).
void expectNear(double actual, double expected, double scale, const std::string& what) {
    EXPECT_NEAR(actual, expected, 1e-11 * std::max({1.0, std::fabs(expected), scale})) << what;
}

TEST(UndercutLimit, TabulatedValues) {
    // A 17-tooth spur gear without shift is just undercut, a 14-tooth one needs x = 0.18112.
    EXPECT_EQ(printed(undercutLimit(17, 0), 4), "0.005657");
    EXPECT_EQ(printed(undercutLimit(14, 0), 5), "0.18112");
    expectNear(undercutLimit(17, 0), referenceValue("tabulated x_min_z17"), 1, "z17");
    expectNear(undercutLimit(14, 0), referenceValue("tabulated x_min_z14"), 1, "z14");
}

// Every judged number of the worked pairs against the reference's own constructions.
TEST(AssessGearPair, NumbersMatchTheIndependentReference) {
    for (const char* name :
         {"initial", "spur_even", "spur_odd", "helical_even", "helical_odd", "small", "wide"}) {
        const GearPairInput in = assessmentReference().pair(name).input;
        ASSERT_TRUE(validateInput(in)) << name;
        const Assessment a = assessGearPair(in);
        const double size = computeGearPairGeometry(in).a;
        const std::string c = std::string(name) + " ";
        for (int i = 0; i < 2; ++i) {
            const GearJudgement& g = a.gears[static_cast<std::size_t>(i)];
            const std::string n = std::to_string(i + 1);
            expectNear(g.xmin, referenceValue(c + "x_min" + n), 1, c + "x_min" + n);
            expectNear(g.san, referenceValue(c + "san" + n), size, c + "san" + n);
            expectNear(g.g, referenceValue(c + "g" + n), size, c + "g" + n);
            expectNear(g.rA, referenceValue(c + "rA" + n), size, c + "rA" + n);
            expectNear(g.rs, referenceValue(c + "rs" + n), size, c + "rs" + n);
        }
        expectNear(a.c, referenceValue(c + "c"), size, c + "c");
        expectNear(a.tipShortening, -referenceValue(c + "k_factor") * in.mn, size, c + "k");
        expectNear(computeGearPairGeometry(in).epsilonalpha, referenceValue(c + "epsilon_alpha"), 1,
                   c + "epsilon_alpha");
    }
}

// The findings of 400 random pairs over the whole range agree with the reference's.
TEST(AssessGearPair, FindingsMatchTheReferenceOnRandomPairs) {
    int compared = 0;
    for (const test::ReferencePair& p : assessmentReference().pairs) {
        ASSERT_TRUE(validateInput(p.input)) << p.name;
        EXPECT_EQ(test::findingsOf(assessGearPair(p.input)), p.findings) << p.name;
        ++compared;
    }
    EXPECT_GE(compared, 400);
}

struct BoundaryRow {
    test::ReferenceBoundary b;
};

void PrintTo(const BoundaryRow& row, std::ostream* os) {
    *os << row.b.name;
}

class FindingBoundary : public testing::TestWithParam<BoundaryRow> {};

GearPairInput moved(const test::ReferenceBoundary& b, double step) {
    GearPairInput in = b.input;
    double& v = b.varied == "x1" ? in.x1 : b.varied == "x2" ? in.x2 : in.beta;
    v += step;
    return in;
}

bool has(const Assessment& a, const test::ReferenceBoundary& b) {
    for (const Finding& f : a.list())
        if (findingCodeName(f.code) == b.code && findingLevelName(f.level) == b.level &&
            f.gear == b.gear)
            return true;
    return false;
}

// Just outside the boundary the finding is there, just inside it is not.
TEST_P(FindingBoundary, JustInsideAndJustOutside) {
    const test::ReferenceBoundary& b = GetParam().b;
    constexpr double kStep = 1e-9;
    const GearPairInput outside = moved(b, b.direction * kStep);
    const GearPairInput inside = moved(b, -b.direction * kStep);
    ASSERT_TRUE(validateInput(outside) && validateInput(inside)) << b.name;
    EXPECT_TRUE(has(assessGearPair(outside), b)) << b.name;
    EXPECT_FALSE(has(assessGearPair(inside), b)) << b.name;
}

std::vector<BoundaryRow> boundaryRows() {
    std::vector<BoundaryRow> rows;
    for (const auto& b : assessmentReference().boundaries)
        rows.push_back({b});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Reference, FindingBoundary, testing::ValuesIn(boundaryRows()),
                         [](const auto& row) { return row.param.b.name; });

TEST(FindingBoundary, EveryCodeAndBothGearsAreCovered) {
    std::set<std::string> covered;
    for (const auto& b : assessmentReference().boundaries)
        covered.insert(b.code + "/" + b.level + "/" + std::to_string(b.gear));
    for (const char* entry :
         {"undercut/Warnung/1", "undercut/Warnung/2", "thin_tip/Warnung/1", "thin_tip/Warnung/2",
          "pointed/Fehler/1", "pointed/Fehler/2", "no_mesh/Fehler/0", "contact_ratio/Warnung/0",
          "contact_ratio/Fehler/0", "tip_clearance/Hinweis/0", "tip_clearance/Warnung/0",
          "tip_clearance/Fehler/0", "interference/Fehler/1", "interference/Fehler/2"})
        EXPECT_TRUE(covered.count(entry)) << entry;
}

// Over random pairs the tip clearance is (0.25 + k) mn, the gears' judgements are each other's
// when the pair is seen from gear 2, and the record never holds more than it can.
TEST(AssessGearPair, ClearanceAndSymmetryOverRandomPairs) {
    std::uint64_t state = 12;
    auto uniform = [&state](double lo, double hi) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return lo + (hi - lo) * static_cast<double>(state >> 11) * 0x1.0p-53;
    };
    for (int i = 0; i < 2000; ++i) {
        const GearPairInput in{static_cast<std::int32_t>(uniform(4, 120)),
                               static_cast<std::int32_t>(uniform(4, 400)),
                               uniform(0.5, 50),
                               10,
                               uniform(0, 30),
                               uniform(-0.5, 0.5),
                               uniform(-0.5, 0.5),
                               10};
        const GearPairGeometry g = computeGearPairGeometry(in);
        const Assessment a = assessGearPair(in);
        ASSERT_LE(a.count, kMaxFindings);
        if (std::isnan(g.alphawt)) {
            EXPECT_TRUE(std::isnan(a.c));
            continue;
        }
        EXPECT_NEAR(a.c, (0.25 + g.k) * in.mn, 1e-12 * g.a) << i;
        const Assessment s = assessGearPair(swappedInput(in));
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(a.gears[static_cast<std::size_t>(k)].san,
                      s.gears[static_cast<std::size_t>(1 - k)].san);
            EXPECT_NEAR(a.gears[static_cast<std::size_t>(k)].rA,
                        s.gears[static_cast<std::size_t>(1 - k)].rA, 1e-12 * g.a);
        }
    }
}

// The texts name the gear, the value and the limit with the unit.
TEST(FindingText, NamesGearValueAndLimit) {
    struct Row {
        Finding f;
        const char* line;
    };
    const Row rows[] = {
        {{FindingCode::undercut, FindingLevel::warning, 1, 0.0, 0.00565654, 0},
         "Warnung: Zahnrad 1 wird beim Verzahnen unterschnitten: x1 = 0 liegt unter x_min = "
         "0.005657 (Profilverschiebung auf mindestens x_min erhöhen oder mehr Zähne wählen)."},
        {{FindingCode::pointed, FindingLevel::error, 2, -0.01234, 0, 0},
         "Fehler: Zahnrad 2 wird spitz: Zahndicke am Kopfkreis s_an = -0.01234 mm ≤ 0 mm "
         "(Profilverschiebung x2 verringern, mehr Zähne wählen oder den Kopf kürzen)."},
        {{FindingCode::thinTip, FindingLevel::warning, 1, 0.5, 1.6, 0},
         "Warnung: Zahnrad 1 hat einen dünnen Zahnkopf: s_an = 0.5 mm < 0.2·mn = 1.6 mm "
         "(Profilverschiebung x1 verringern, mehr Zähne wählen oder den Kopf kürzen)."},
        {{FindingCode::noMesh, FindingLevel::error, 0, -0.0123, 0, -0.6},
         "Fehler: Die Zahnräder kämmen nicht: für x1 + x2 = -0.6 gibt es keinen "
         "Betriebseingriffswinkel (inv αwt = -0.0123 < 0; die Summe der Profilverschiebungen "
         "erhöhen)."},
        {{FindingCode::contactRatio, FindingLevel::error, 0, 0.98, 1.0, 0},
         "Fehler: Profilüberdeckung εα = 0.98 < 1: der Eingriff reißt ab (Profilverschiebungen "
         "verringern oder mehr Zähne wählen)."},
        {{FindingCode::tipClearance, FindingLevel::warning, 0, 0.3, 0.8, 1.7},
         "Warnung: Kopfspiel c = 0.3 mm < 0.1·mn = 0.8 mm: die Zahnköpfe laufen dicht am "
         "Fußkreis des Gegenrads (Köpfe um −k·mn = 1.7 mm kürzen, dann ist c = 0.25·mn)."},
        {{FindingCode::tipClearance, FindingLevel::note, 0, 1.9, 2.0, 0.1},
         "Hinweis: Kopfspiel c = 1.9 mm statt 0.25·mn = 2 mm: Köpfe um −k·mn = 0.1 mm kürzen, "
         "dann ist es wiederhergestellt."},
        {{FindingCode::interference, FindingLevel::error, 2, 4.6, 4.5, -0.1877},
         "Fehler: Eingriffsstörung an Zahnrad 2: der Kopf von Zahnrad 1 greift um 0.1877 mm "
         "über den Berührpunkt der Eingriffslinie am Grundkreis hinaus (Profilverschiebung x2 "
         "erhöhen, den Kopf von Zahnrad 1 kürzen oder mehr Zähne wählen)."},
        {{FindingCode::interference, FindingLevel::error, 1, 12.3, 12.5, 0.2},
         "Fehler: Eingriffsstörung an Zahnrad 1: der Eingriff beginnt bei r_A = 12.3 mm, unter "
         "dem Evolventenbeginn r_s = 12.5 mm (Profilverschiebung x1 erhöhen oder den Kopf von "
         "Zahnrad 2 kürzen)."},
    };
    for (const Row& r : rows)
        EXPECT_EQ(findingLine(r.f), r.line);
}

}  // namespace
}  // namespace kellvor
