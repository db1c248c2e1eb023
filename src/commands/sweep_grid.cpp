#include "commands/sweep_grid.h"

#include <cmath>

namespace kellvor {
namespace {

// A whole number that a 32-bit count holds.
bool whole(double v) {
    return std::isfinite(v) && std::floor(v) == v && v >= -2147483648.0 && v <= 2147483647.0;
}

}  // namespace

SweepAxisResult makeSweepAxis(InputField field, double from, double to, double step) {
    SweepAxisResult r;
    if (!(step > 0) || !std::isfinite(step)) {
        r.error = SweepError::zeroStep;
        return r;
    }
    if (!std::isfinite(from) || !std::isfinite(to) || to < from) {
        r.error = SweepError::emptyRange;
        return r;
    }
    if (fieldEntry(field).type == FieldType::integer &&
        (!whole(from) || !whole(to) || !whole(step))) {
        r.error = SweepError::notWhole;
        return r;
    }
    // The last value may pass TO by a rounding of the step: from + i step <= to + 1e-9 step.
    const double limit = to + 1e-9 * step;
    const double estimate = std::floor((limit - from) / step);
    if (!(estimate < static_cast<double>(kMaxSweepPoints))) {
        r.error = SweepError::tooManyPoints;
        return r;
    }
    SweepAxis axis{field, from, to, step, static_cast<std::int64_t>(estimate) + 1};
    // The division may be one off near the limit; the values themselves decide.
    while (axis.count > 1 && axis.value(axis.count - 1) > limit)
        --axis.count;
    while (axis.value(axis.count) <= limit)
        ++axis.count;
    r.axis = axis;
    return r;
}

std::int64_t SweepGrid::size() const {
    std::int64_t n = 1;
    for (const SweepAxis& a : axes) {
        if (a.count > (kMaxSweepPoints + 1) / n)
            return kMaxSweepPoints + 1;
        n *= a.count;
    }
    return n;
}

GearPairInput SweepGrid::point(std::int64_t index) const {
    GearPairInput in = base;
    // The last axis varies fastest: peel the axes off from the back.
    for (auto a = axes.rbegin(); a != axes.rend(); ++a) {
        const std::int64_t i = index % a->count;
        index /= a->count;
        const double v = a->value(i);
        if (std::int32_t* member = integerMember(in, a->field))
            *member = static_cast<std::int32_t>(v);
        else
            *realMember(in, a->field) = v;
    }
    return in;
}

SweepError checkSweepGrid(const SweepGrid& grid) {
    return grid.size() > kMaxSweepPoints ? SweepError::tooManyPoints : SweepError::none;
}

}  // namespace kellvor
