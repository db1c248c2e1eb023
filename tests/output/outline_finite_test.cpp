// Every number that reaches the drawing and the trace is finite for every input that passes
// the range test: the outline is checked over a grid of the valid range, its corners included.
#include <gtest/gtest.h>

#include <optional>

#include <cmath>
#include <string>

#include "geometry/gear_pair_geometry.h"
#include "outline/flank_profile.h"
#include "outline/gear_outline.h"
#include "outline/root_arc.h"

namespace kellvor {
namespace {

// Teeth walked per input when the gear is too large to walk whole in a test.
constexpr int kTeethChecked = 40;

struct ToothCountRow {
    const char* name;
    std::int32_t z1;
};

void PrintTo(const ToothCountRow& row, std::ostream* os) {
    *os << row.name;
}

class OutlineIsFinite : public testing::TestWithParam<ToothCountRow> {};

bool finite(const OutlineTooth& t) {
    if (!std::isfinite(t.arcCentreX) || !std::isfinite(t.arcCentreY) ||
        !std::isfinite(t.arcRadius) || !std::isfinite(t.arcStartAngle) ||
        !std::isfinite(t.arcEndAngle) || !std::isfinite(t.angle))
        return false;
    for (const Point2& p : t.points())
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return false;
    return true;
}

std::string describe(const GearPairInput& in) {
    return "z1=" + std::to_string(in.z1) + " z2=" + std::to_string(in.z2) +
           " mn=" + std::to_string(in.mn) + " beta=" + std::to_string(in.beta) +
           " x1=" + std::to_string(in.x1) + " x2=" + std::to_string(in.x2) +
           " segmentCount=" + std::to_string(in.segmentCount);
}

TEST_P(OutlineIsFinite, OverTheValidRange) {
    const std::int32_t z1 = GetParam().z1;
    // Small gears are walked whole, so that the accumulated turn reaches its last tooth.
    const bool whole = z1 <= 200;
    int failures = 0;
    for (const std::int32_t z2 : {4, 2147483647})
        for (const double mn : {0.5, 1.0, 8.0, 50.0})
            for (const double beta : {0.0, 1e-9, 7.5, 15.0, 29.999, 30.0})
                for (const double x1 : {-0.5, -0.25, 0.0, 0.25, 0.45, 0.5})
                    for (const double x2 : {-0.5, 0.5})
                        for (const std::int32_t segmentCount : {0, 7, 499}) {
                            const GearPairInput in{z1, z2, mn, 20.0, beta, x1, x2, segmentCount};
                            const GearPairGeometry g = computeGearPairGeometry(in);
                            const FlankProfile profile = buildFlankProfile(g, x1, segmentCount);
                            const std::optional<RootArc> arc = fitRootArc(profile, g.rf1, z1);
                            if (!arc) {
                                ADD_FAILURE() << "no root arc for " << describe(in);
                                ++failures;
                                continue;
                            }
                            walkGearOutline(profile, *arc, z1, [&](const OutlineTooth& t) {
                                if (!finite(t)) {
                                    ADD_FAILURE()
                                        << "not a number in tooth " << t.index << " (radius "
                                        << t.arcRadius << ") for " << describe(in);
                                    ++failures;
                                    return false;
                                }
                                return whole || t.index + 1 < kTeethChecked;
                            });
                            if (failures >= 5)
                                return;
                        }
}

const ToothCountRow kToothCounts[] = {
    {"z1_4", 4},
    {"z1_5", 5},
    {"z1_7", 7},
    {"z1_8", 8},
    {"z1_16", 16},
    {"z1_17", 17},
    {"z1_20", 20},
    {"z1_150", 150},
    {"z1_200", 200},
    {"z1_1000", 1000},
    {"z1_100000", 100000},
    {"z1_10000000", 10000000},
    {"z1_100000000", 100000000},
    {"z1_2147483647", 2147483647},
};

INSTANTIATE_TEST_SUITE_P(ToothCounts, OutlineIsFinite, testing::ValuesIn(kToothCounts),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kellvor
