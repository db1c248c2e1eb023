// Range test of the entered values, and the description of the first value that fails it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "geometry/gear_pair_input.h"
#include "geometry/input_fields.h"

namespace kellvor {

// Text of the warning shown when the range test fails.
inline constexpr std::string_view kRangeWarningText =
    "Die Eingegebenen Zahnradwerte sind nicht alle im gültigem Bereich";
// Caption of that warning.
inline constexpr std::string_view kRangeWarningCaption = "Warnung";

// The first field that fails the range test.
struct RangeViolation {
    InputField field = InputField::z1;
};

// True when every value is finite and inside its range; false at the first that is not.
bool validateInput(const GearPairInput& input);

// The first failing field in the order of the range test, or nothing when the input passes.
std::optional<RangeViolation> findRangeViolation(const GearPairInput& input);

// One German line naming the field and its range, e.g. "Feld "mn": erlaubt ist 0.5 ≤ mn ≤ 50".
std::string describeRangeViolation(const RangeViolation& violation,
                                   DecimalMark mark = DecimalMark::point);

}  // namespace kellvor
