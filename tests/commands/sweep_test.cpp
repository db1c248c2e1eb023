#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "commands/sweep_command.h"
#include "commands/sweep_grid.h"
#include "output/output_test_util.h"

namespace kellvor {
namespace {

SweepAxis axis(InputField field, double from, double to, double step) {
    const SweepAxisResult r = makeSweepAxis(field, from, to, step);
    EXPECT_TRUE(r.axis) << static_cast<int>(r.error);
    return r.axis.value_or(SweepAxis{});
}

// Values are FROM + i STEP, never accumulated, up to TO plus a rounding of the step.
TEST(MakeSweepAxis, CountsAndValuesAsWritten) {
    const SweepAxis x = axis(InputField::x1, -0.5, 0.5, 0.01);
    EXPECT_EQ(x.count, 101);
    EXPECT_EQ(x.value(80), -0.5 + 80 * 0.01);
    EXPECT_EQ(x.value(80), 0.30000000000000004);
    EXPECT_EQ(x.value(100), -0.5 + 100 * 0.01);
    const SweepAxis z = axis(InputField::z1, 10, 20, 3);
    EXPECT_EQ(z.count, 4);
    EXPECT_EQ(z.value(3), 19);
    EXPECT_EQ(axis(InputField::beta, 0, 30, 0.1).count, 301);
    EXPECT_EQ(axis(InputField::mn, 2, 2, 1).count, 1);
    // 0.7 is not reached from 0.1 in steps of 0.3 within rounding: 0.1, 0.4, 0.7000000000000001.
    EXPECT_EQ(axis(InputField::x2, 0.1, 0.7, 0.3).count, 3);
    EXPECT_EQ(axis(InputField::x2, 0.1, 0.69, 0.3).count, 2);
}

TEST(MakeSweepAxis, RefusesWhatCannotBeSwept) {
    struct Row {
        InputField field;
        double from, to, step;
        SweepError error;
    };
    const Row rows[] = {
        {InputField::x1, 0, 1, 0, SweepError::zeroStep},
        {InputField::x1, 0, 1, -0.1, SweepError::zeroStep},
        {InputField::x1, 1, 0, 0.1, SweepError::emptyRange},
        {InputField::mn, std::nan(""), 1, 0.1, SweepError::emptyRange},
        {InputField::z1, 10, 20, 2.5, SweepError::notWhole},
        {InputField::segmentCount, 0.5, 20, 1, SweepError::notWhole},
        {InputField::z2, 4, 3e9, 1, SweepError::notWhole},
        {InputField::b, 0, 1, 1e-10, SweepError::tooManyPoints},
    };
    for (const Row& r : rows) {
        const SweepAxisResult result = makeSweepAxis(r.field, r.from, r.to, r.step);
        EXPECT_FALSE(result.axis);
        EXPECT_EQ(result.error, r.error) << r.from << ":" << r.to << ":" << r.step;
    }
    SweepGrid grid;
    grid.axes = {axis(InputField::x1, 0, 1, 1e-5), axis(InputField::x2, 0, 1, 1e-5)};
    EXPECT_EQ(checkSweepGrid(grid), SweepError::tooManyPoints);
    grid.axes.pop_back();
    EXPECT_EQ(checkSweepGrid(grid), SweepError::none);
}

// The last axis varies fastest; fields not swept keep their base values.
TEST(SweepGrid, PointsInGridOrder) {
    SweepGrid grid;
    grid.base.mn = 3;
    grid.axes = {axis(InputField::z1, 10, 12, 1), axis(InputField::x1, 0, 0.2, 0.1)};
    ASSERT_EQ(grid.size(), 9);
    EXPECT_EQ(grid.point(0).z1, 10);
    EXPECT_EQ(grid.point(1).z1, 10);
    EXPECT_EQ(grid.point(1).x1, 0.1);
    EXPECT_EQ(grid.point(3).z1, 11);
    EXPECT_EQ(grid.point(3).x1, 0.0);
    EXPECT_EQ(grid.point(8).x1, 0.2);
    EXPECT_EQ(grid.point(8).mn, 3.0);
}

// A row per point naming its inputs; every third left out.
bool indexRow(const GearPairInput& p, std::string& out) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%d,%.17g,%d\n", p.z1, p.x1, p.segmentCount);
    out += buf;
    return (p.z1 + p.segmentCount) % 3 != 0;
}

bool keptRow(const GearPairInput& p, std::string& out) {
    std::string row;
    if (!indexRow(p, row))
        return false;
    out += row;
    return true;
}

// Many threads write exactly what one thread writes, in grid order.
TEST(RunSweep, ThreadsWriteTheRowsOfOneThread) {
    SweepGrid grid;
    grid.axes = {axis(InputField::z1, 4, 60, 1), axis(InputField::x1, -0.5, 0.5, 0.01),
                 axis(InputField::segmentCount, 0, 11, 1)};
    ASSERT_EQ(grid.size(), 57 * 101 * 12);
    StringSink one, many;
    const SweepOutcome a = runSweep(grid, "z1,x1,segments\n", keptRow, one, {}, 1);
    const SweepOutcome b = runSweep(grid, "z1,x1,segments\n", keptRow, many, {}, 7);
    ASSERT_TRUE(a.result.ok());
    ASSERT_TRUE(b.result.ok());
    EXPECT_EQ(a.points, grid.size());
    EXPECT_EQ(b.rows, a.rows);
    EXPECT_LT(a.rows, a.points);
    EXPECT_TRUE(one.text() == many.text());
    // The rows are the points in order.
    std::string expected = "z1,x1,segments\n";
    for (std::int64_t i = 0; i < grid.size(); ++i)
        keptRow(grid.point(i), expected);
    EXPECT_TRUE(one.text() == expected);
}

TEST(RunSweep, CancelAndFailingSinkStopIt) {
    SweepGrid grid;
    grid.axes = {axis(InputField::x1, -0.5, 0.5, 1e-5)};
    StringSink sink;
    std::int64_t lastSeen = 0;
    const SweepOutcome cancelled = runSweep(
        grid, "", indexRow, sink,
        [&](std::int64_t done, std::int64_t total) {
            EXPECT_EQ(total, grid.size());
            EXPECT_GT(done, lastSeen);
            lastSeen = done;
            return done < 10000;
        },
        3);
    EXPECT_EQ(cancelled.result.status, CommandStatus::cancelled);
    EXPECT_LT(cancelled.points, grid.size());
    test::FailingSink failing(5000);
    const SweepOutcome failed = runSweep(grid, "header\n", indexRow, failing, {}, 3);
    EXPECT_EQ(failed.result.status, CommandStatus::fileError);
    EXPECT_EQ(failing.callsAfterFailure(), 0);
}

}  // namespace
}  // namespace kellvor
