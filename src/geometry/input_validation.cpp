#include "geometry/input_validation.h"

#include <cmath>

#include "geometry/constants.h"

namespace kellvor {
namespace {

RangeViolation violation(InputField field, std::string name, std::string allowed) {
    return RangeViolation{field, std::move(name), std::move(allowed)};
}

}  // namespace

bool validateInput(const GearPairInput& input) {
    return !findRangeViolation(input).has_value();
}

std::optional<RangeViolation> findRangeViolation(const GearPairInput& in) {
    // The comparisons run in a fixed order and the first that holds decides. A comparison with
    // not-a-number is always false, so every real value is also required to be finite; the
    // element count is bounded by the capacity of a flank profile.
    const double z1 = in.z1;
    const double z2 = in.z2;
    if (z1 < 4)
        return violation(InputField::z1, "z1", "z1 >= 4");
    if (z2 < 4)
        return violation(InputField::z2, "z2", "z2 >= 4");
    if (!std::isfinite(in.mn) || in.mn < 0.5 || in.mn > 50)
        return violation(InputField::mn, "mn", "0.5 <= mn <= 50");
    if (!std::isfinite(in.b) || in.b <= 0)
        return violation(InputField::b, "Breite", "b > 0 (endlich)");
    if (!std::isfinite(in.beta) || in.beta < 0 || in.beta > 30)
        return violation(InputField::beta, "Winkel Betta", "0 <= beta <= 30 (Grad)");
    if (!std::isfinite(in.x1) || in.x1 < -0.5 || in.x1 > 0.5)
        return violation(InputField::x1, "x1", "-0.5 <= x1 <= 0.5");
    if (!std::isfinite(in.x2) || in.x2 < -0.5 || in.x2 > 0.5)
        return violation(InputField::x2, "x2", "-0.5 <= x2 <= 0.5");
    if (in.segmentCount < 0 || in.segmentCount > kMaxSegmentCount)
        return violation(InputField::segmentCount, "Anzahl der Elemente innerhalb der Evolvente",
                         "0 <= Anzahl <= " + std::to_string(kMaxSegmentCount));
    return std::nullopt;
}

std::string describeRangeViolation(const RangeViolation& v) {
    return "Feld \"" + v.fieldName + "\": erlaubt ist " + v.allowed;
}

}  // namespace kellvor
