#include "geometry/input_validation.h"

namespace kellvor {

bool validateInput(const GearPairInput& input) {
    return !findRangeViolation(input).has_value();
}

std::optional<RangeViolation> findRangeViolation(const GearPairInput& input) {
    // The fields are tested in record order and the first that fails decides. Every real value
    // must also be finite (a comparison with not-a-number never fails on its own), and the
    // element count is bounded by the capacity of a flank profile.
    for (const InputFieldSpec& spec : inputFields()) {
        if (!spec.allowed.contains(fieldValue(input, spec.field)))
            return RangeViolation{spec.field};
    }
    return std::nullopt;
}

std::string describeRangeViolation(const RangeViolation& violation, DecimalMark mark) {
    const InputFieldSpec& spec = fieldSpec(violation.field);
    return rangeMessage(spec, spec.allowed, mark);
}

}  // namespace kellvor
