// The grid of a design sweep: some of the eight values stepped over ranges, the others fixed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geometry/gear_pair_input.h"
#include "geometry/input_fields.h"

namespace kellvor {

// Largest number of points of one sweep.
inline constexpr std::int64_t kMaxSweepPoints = 1000000000;

// One stepped value: FROM + i STEP for i = 0, 1, ... while not beyond TO (plus 1e-9 STEP).
struct SweepAxis {
    InputField field = InputField::z1;
    double from = 0;
    double to = 0;
    double step = 1;
    std::int64_t count = 1;  // number of values

    // The value i, computed as from + i step (never accumulated).
    double value(std::int64_t i) const { return from + static_cast<double>(i) * step; }
};

// Why an axis or a grid cannot be swept.
enum class SweepError {
    none,
    emptyRange,     // TO lies below FROM
    zeroStep,       // STEP is 0 (or negative, or not a number)
    notWhole,       // FROM, TO or STEP of a whole-number field is not whole, or beyond 32 bits
    tooManyPoints,  // the grid has more than kMaxSweepPoints points
};

// The axis for field from its three numbers, or why there is none.
struct SweepAxisResult {
    std::optional<SweepAxis> axis;
    SweepError error = SweepError::none;
};
SweepAxisResult makeSweepAxis(InputField field, double from, double to, double step);

// The grid: base values, and the axes in the order given; the last varies fastest.
struct SweepGrid {
    GearPairInput base;
    std::vector<SweepAxis> axes;

    // Number of points; saturates at kMaxSweepPoints + 1.
    std::int64_t size() const;
    // The input of point index (0 <= index < size()), in grid order.
    GearPairInput point(std::int64_t index) const;
};

// Whether the grid may be swept: at most kMaxSweepPoints points.
SweepError checkSweepGrid(const SweepGrid& grid);

}  // namespace kellvor
