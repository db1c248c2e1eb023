// Range test of the entered values, and the description of the first value that fails it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "geometry/gear_pair_input.h"

namespace kellvor {

// Text of the warning shown when the range test fails.
inline constexpr std::string_view kRangeWarningText =
    "Die Eingegebenen Zahnradwerte sind nicht alle im gültigem Bereich";
// Caption of that warning.
inline constexpr std::string_view kRangeWarningCaption = "Warnung";

// The entered fields, in the order of the record.
enum class InputField { z1, z2, mn, b, beta, x1, x2, segmentCount };

// The first field that fails the range test: its name as the dialog labels it and its allowed
// range.
struct RangeViolation {
    InputField field = InputField::z1;
    std::string fieldName;  // e.g. "z1" or "Breite"
    std::string allowed;    // German, e.g. "0.5 <= mn <= 50"
};

// True when every value is finite and inside its range; false at the first that is not.
bool validateInput(const GearPairInput& input);

// The first failing field in the order of the range test, or nothing when the input passes.
std::optional<RangeViolation> findRangeViolation(const GearPairInput& input);

// One German line naming the field and its range, for both user interfaces.
std::string describeRangeViolation(const RangeViolation& violation);

}  // namespace kellvor
