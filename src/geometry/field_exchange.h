// Moving the eight entered values between the dialog's field texts and a GearPairInput.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "geometry/gear_pair_input.h"
#include "geometry/input_fields.h"
#include "geometry/number_parse.h"

namespace kellvor {

// The texts of the fields, in exchange order (the order of inputFields()).
using FieldTexts = std::array<std::string, kFieldCount>;

// Why an exchange stopped: the field (index into inputFields()) and a German message naming it.
struct ExchangeError {
    std::size_t step = 0;
    std::string message;
};

// How the dialog reads and writes its fields: blanks around a number are allowed; with a comma
// mark "8,5" is read as well and messages write their numbers with a comma.
struct FieldFormat {
    DecimalMark mark = DecimalMark::point;

    NumberSyntax syntax() const { return {true, mark == DecimalMark::comma}; }
};

// The texts the fields show for the given values: decimal integers, reals with 15 digits (%.15g)
// and the format's decimal separator.
FieldTexts formatFields(const GearPairInput& input, FieldFormat format = {});

// Reads one field's text: the message when it is no number of its type or lies outside the
// exchange's range; the value read (when readable) goes into input either way.
std::optional<std::string> exchangeField(std::size_t step, const std::string& text,
                                         GearPairInput& input, FieldFormat format = {});

// What a field's text alone is worth while it is typed: the message when the field exchange or
// the commands' range test would refuse it (the range test's message names its own range),
// nothing when both take it.
std::optional<std::string> checkFieldText(std::size_t step, const std::string& text,
                                          FieldFormat format = {});

// Reads the texts into input in exchange order. Stops at the first text that is not a whole
// number of its type or lies outside its exchange range: fields before it are stored, fields
// after it are left as they were; a text out of range is stored before it is rejected, one that
// cannot be read is not.
std::optional<ExchangeError> exchangeFields(const FieldTexts& texts, GearPairInput& input,
                                            FieldFormat format = {});

}  // namespace kellvor
