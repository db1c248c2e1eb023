// Moving the eight entered values between the dialog's field texts and a GearPairInput.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/gear_pair_input.h"
#include "geometry/input_validation.h"

namespace kellvor {

// How a field's text is read: a decimal integer or a real in the C locale.
enum class FieldType { integer, real };

// One entry field of the dialog, with the range its exchange checks (when checked is true).
struct EntryField {
    InputField field = InputField::z1;
    int controlId = 0;       // resource id of the entry field (1001 ... 1008)
    std::string_view label;  // the label beside the field, e.g. "Winkel Betta:"
    std::string_view name;   // the field's name in messages, e.g. "Winkel Betta"
    FieldType type = FieldType::integer;
    bool checked = false;  // whether the exchange checks min <= value <= max
    double min = 0;
    double max = 0;
};

// Number of entry fields.
inline constexpr std::size_t kFieldCount = 8;

// The fields in exchange order, which is also the tab order of the dialog.
extern const std::array<EntryField, kFieldCount> kExchangeFields;

// The texts of the fields, in exchange order.
using FieldTexts = std::array<std::string, kFieldCount>;

// Why an exchange stopped: the field (index into kExchangeFields) and a German message naming it.
struct ExchangeError {
    std::size_t step = 0;
    std::string message;
};

// The texts the fields show for the given values: decimal integers, reals with 15 digits (%.15g).
FieldTexts formatFields(const GearPairInput& input);

// Reads the texts into input in exchange order. Stops at the first text that is not a whole
// number of its type (blanks around it allowed) or lies outside its range: fields before it are
// stored, fields after it are left as they were; a text out of range is stored before it is
// rejected, one that cannot be read is not.
std::optional<ExchangeError> exchangeFields(const FieldTexts& texts, GearPairInput& input);

}  // namespace kellvor
