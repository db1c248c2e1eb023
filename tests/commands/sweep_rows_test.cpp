#include "commands/sweep_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "commands/sweep_command.h"
#include "commands/sweep_grid.h"
#include "geometry/input_validation.h"
#include "output/output_test_util.h"
#include "output/sweep_csv.h"
#include "output/sweep_csv_util.h"

namespace kellvor {
namespace {

SweepGrid gridFrom(int firstZ1) {
    SweepGrid grid;
    grid.base.mn = 2;
    grid.base.beta = 0;
    for (const auto& [field, from, to, step] :
         {std::tuple{InputField::z1, double(firstZ1), 40.0, 1.0},
          std::tuple{InputField::x1, -0.5, 0.5, 0.05}, std::tuple{InputField::x2, -0.5, 0.5, 0.05}})
        grid.axes.push_back(makeSweepAxis(field, from, to, step).axis.value());
    return grid;
}

std::string sweepText(const SweepGrid& grid, SweepRows rows) {
    StringSink sink;
    const SweepOutcome outcome = runSweep(
        grid, kSweepCsvHeader,
        [rows](const GearPairInput& p, std::string& out) { return appendSweepRow(p, rows, out); },
        sink, {}, 3);
    EXPECT_TRUE(outcome.result.ok());
    return sink.text();
}

// --only-ok keeps exactly the rows of the full sweep without a code: no Warnung, no Fehler, no
// range; the full sweep has a range row for every point with fewer than four teeth.
TEST(AppendSweepRow, OnlyOkKeepsTheRowsWithoutCodes) {
    const SweepGrid grid = gridFrom(2);
    const std::vector<std::string> all = test::splitLines(sweepText(grid, SweepRows::all));
    const std::vector<std::string> ok = test::splitLines(sweepText(grid, SweepRows::onlyOk));
    ASSERT_EQ(all.size(), static_cast<std::size_t>(grid.size()) + 1);
    std::vector<std::string> expected{all.front()};
    int ranged = 0;
    for (std::size_t i = 1; i < all.size(); ++i) {
        const GearPairInput point = grid.point(static_cast<std::int64_t>(i - 1));
        const auto fields = test::splitFields(all[i]);
        ASSERT_EQ(fields.size(), 22u) << all[i];
        if (!validateInput(point)) {
            ++ranged;
            EXPECT_EQ(fields[21], "range");
            EXPECT_EQ(test::readBack(fields[0]), point.z1);
            EXPECT_EQ(test::readBack(fields[5]), point.x1);
            continue;
        }
        bool warned = false;
        const Assessment assessment = assessGearPair(point);
        for (const Finding& f : assessment.list())
            warned = warned || f.level != FindingLevel::note;
        EXPECT_EQ(fields[21].empty(), !warned) << all[i];
        if (fields[21].empty())
            expected.push_back(all[i]);
    }
    EXPECT_EQ(ranged, 2 * 21 * 21);
    EXPECT_GT(expected.size(), 1000u);
    EXPECT_LT(expected.size() + 2 * 21 * 21 + 100, all.size());
    EXPECT_TRUE(ok == expected);
}

}  // namespace
}  // namespace kellvor
