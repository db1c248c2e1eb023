#include "output/sweep_csv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "geometry/constants.h"
#include "geometry/input_validation.h"
#include "output/sweep_csv_util.h"

namespace kellvor {
namespace {

constexpr std::size_t kColumns = 22;

std::string rowOf(const GearPairInput& in) {
    const GearPairGeometry g = computeGearPairGeometry(in);
    std::string row = "kept text,";  // a row is appended, never written over
    appendSweepCsvRow(row, in, g, assessGearPair(in, g));
    EXPECT_EQ(row.substr(0, 10), "kept text,");
    return row.substr(10);
}

TEST(SweepCsv, HeaderNamesTwentyTwoColumns) {
    EXPECT_EQ(test::splitFields(kSweepCsvHeader.substr(0, kSweepCsvHeader.size() - 1)).size(),
              kColumns);
    EXPECT_EQ(kSweepCsvHeader.back(), '\n');
}

// Over random pairs across the whole range every column reads back to exactly the value it
// stands for, and findings lists the Warnung and Fehler codes in order.
TEST(SweepCsv, EveryColumnReadsBackExactly) {
    std::uint64_t state = 77;
    auto uniform = [&state](double lo, double hi) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return lo + (hi - lo) * static_cast<double>(state >> 11) * 0x1.0p-53;
    };
    int withFindings = 0, withoutMesh = 0;
    for (int i = 0; i < 3000; ++i) {
        const GearPairInput in{static_cast<std::int32_t>(uniform(4, 300)),
                               static_cast<std::int32_t>(uniform(4, 300)),
                               uniform(0.5, 50),
                               uniform(0.001, 1e4),
                               uniform(0, 30),
                               uniform(-0.5, 0.5),
                               uniform(-0.5, 0.5),
                               static_cast<std::int32_t>(uniform(0, 500))};
        ASSERT_TRUE(validateInput(in));
        const GearPairGeometry g = computeGearPairGeometry(in);
        const Assessment a = assessGearPair(in, g);
        const std::string row = rowOf(in);
        ASSERT_EQ(row.back(), '\n');
        const auto f = test::splitFields(row.substr(0, row.size() - 1));
        ASSERT_EQ(f.size(), kColumns) << row;
        const auto expected = test::expectedSweepValues(in, g, a);
        for (std::size_t c = 0; c + 1 < kColumns; ++c)
            EXPECT_TRUE(test::sameDouble(test::readBack(f[c]), expected[c]))
                << "column " << c << ": " << f[c] << " in " << row;
        EXPECT_EQ(f[21], test::findingsColumn(a)) << row;
        withFindings += f[21].empty() ? 0 : 1;
        withoutMesh += f[8] == "nan" ? 1 : 0;
    }
    EXPECT_GT(withFindings, 100);
    EXPECT_GT(withoutMesh, 0);
}

// Findings of pairs whose verdict is known: a Hinweis is left out, codes of the pair carry no
// gear number, and a pair without working pressure angle has nan in its mesh columns.
TEST(SweepCsv, FindingsColumnOfKnownPairs) {
    struct Row {
        GearPairInput input;
        const char* findings;
    };
    const Row rows[] = {
        {{40, 60, 2, 20, 0, 0.2, 0.1, 10}, ""},
        // Tips to be shortened by 0.19 mm: a Hinweis only.
        {{20, 40, 2, 20, 0, 0.5, 0.5, 10}, ""},
        {{12, 13, 2, 20, 0, 0.5, 0.5, 10}, "tip_clearance"},
        {{10, 40, 3, 45, 0, 0, 0.5, 10}, "undercut1;interference1"},
        // inv(alphawt) = inv(20 deg) - 2 tan(20 deg) / 8 < 0.
        {{4, 4, 8, 45, 20, -0.5, -0.5, 10}, "undercut1;undercut2;no_mesh"},
        {{4, 40, 8, 45, 20, 0.25, 0, 10}, "undercut1;thin_tip1;interference1"},
        {{4, 4, 2, 45, 0, 0, 0.5, 10},
         "undercut1;undercut2;pointed2;contact_ratio;interference1;interference2"},
    };
    for (const Row& r : rows) {
        const std::string row = rowOf(r.input);
        const auto f = test::splitFields(row.substr(0, row.size() - 1));
        ASSERT_EQ(f.size(), kColumns);
        EXPECT_EQ(f[21], r.findings) << row;
        const bool mesh = std::string(r.findings).find("no_mesh") == std::string::npos;
        for (const int c : {8, 9, 10, 20})
            EXPECT_EQ(f[static_cast<std::size_t>(c)] == "nan", !mesh) << row;
        EXPECT_EQ(withoutWarning(assessGearPair(r.input)), *r.findings == '\0');
    }
}

TEST(SweepCsv, RangeRowKeepsTheInputsAndEmptiesTheValues) {
    std::string row;
    appendSweepCsvRangeRow(row, {3, 40, 0.30000000000000004, 45, -1e-300, 0.5, -0.7, 500});
    EXPECT_EQ(row, "3,40,0.30000000000000004,45,-1e-300,0.5,-0.7,500,,,,,,,,,,,,,,range\n");
}

}  // namespace
}  // namespace kellvor
