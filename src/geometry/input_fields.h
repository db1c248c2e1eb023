// The one table of the eight entered values: names, labels, command-line options and German
// texts, with the range of the commands' range test and that of the dialog's field exchange side
// by side.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/gear_pair_input.h"

namespace kellvor {

// The entered fields, in the order of the record, the range test and the dialog's tab order.
enum class InputField { z1, z2, mn, b, beta, x1, x2, segmentCount };

// How a field's text is read: a decimal integer or a real.
enum class FieldType { integer, real };

// The decimal separator of numbers in texts: the command line writes a point, the dialog a comma.
enum class DecimalMark { point, comma };

// An interval of allowed values; an infinite end is no bound. Not-a-number and infinities are
// never inside.
struct ValueRange {
    double min = -std::numeric_limits<double>::infinity();
    double max = std::numeric_limits<double>::infinity();
    bool minExclusive = false;  // the lower bound itself is not allowed (face width > 0)

    // Whether v is finite and inside.
    bool contains(double v) const;
};

// One entered field.
struct InputFieldEntry {
    InputField field = InputField::z1;
    int controlId = 0;        // resource id of the dialog's entry field (1001 ... 1008)
    std::string_view label;   // the label beside the dialog's field, e.g. "Winkel Betta:"
    std::string_view name;    // the field's name in messages, e.g. "Winkel Betta"
    std::string_view symbol;  // the symbol in range texts, e.g. "beta"
    std::string_view unit;    // unit after a range, e.g. "Grad"; empty for none
    std::string_view option;  // command-line option without its dashes, e.g. "segments"
    FieldType type = FieldType::integer;
    ValueRange allowed;                   // what the commands' range test accepts
    std::optional<ValueRange> exchanged;  // what the dialog's field exchange checks, if anything
};

// Number of entered fields.
inline constexpr std::size_t kFieldCount = 8;

// The fields in record order, which is also the exchange and tab order of the dialog.
const std::array<InputFieldEntry, kFieldCount>& inputFields();

// The table row of a field.
const InputFieldEntry& fieldEntry(InputField field);

// A field's value as a double (integers convert exactly).
double fieldValue(const GearPairInput& input, InputField field);

// The integer member of an integer field, nullptr for a real field.
std::int32_t* integerMember(GearPairInput& input, InputField field);

// The double member of a real field, nullptr for an integer field.
double* realMember(GearPairInput& input, InputField field);

// A bound as %.15g with the given decimal separator, e.g. "0,5" or "1e+21".
std::string formatBound(double value, DecimalMark mark);

// The range as an inequality in the field's symbol, e.g. "0.5 ≤ mn ≤ 50" or "b > 0".
std::string rangeText(const InputFieldEntry& entry, const ValueRange& range, DecimalMark mark);

// "Feld "mn": erlaubt ist 0.5 ≤ mn ≤ 50", naming the field and its range.
std::string rangeMessage(const InputFieldEntry& entry, const ValueRange& range, DecimalMark mark);

// "Feld "z1": "17a" ist keine ganze Zahl" (or "keine Zahl"), control characters escaped.
std::string unreadableMessage(const InputFieldEntry& entry, std::string_view text);

}  // namespace kellvor
