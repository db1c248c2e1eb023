#include "geometry/input_validation.h"

namespace kellvor {

bool validateInput(const GearPairInput& input) {
    return !findRangeViolation(input).has_value();
}

std::optional<RangeViolation> findRangeViolation(const GearPairInput& input) {
    // The fields are tested in record order and the first that fails decides. Every real value
    // must also be finite (a comparison with not-a-number never fails on its own), and the
    // element count is bounded by the capacity of a flank profile.
    for (const InputFieldEntry& entry : inputFields()) {
        if (!entry.allowed.contains(fieldValue(input, entry.field)))
            return RangeViolation{entry.field};
    }
    return std::nullopt;
}

std::string describeRangeViolation(const RangeViolation& violation, DecimalMark mark) {
    const InputFieldEntry& entry = fieldEntry(violation.field);
    return rangeMessage(entry, entry.allowed, mark);
}

}  // namespace kellvor
