// The one strict number parser of Kellvor, for the command line and the dialog's fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kellvor {

// What a text may contain besides the number itself. The default is the command line's
// strictness: the whole text, C locale, nothing around it.
struct NumberSyntax {
    bool blanksAround = false;  // blanks and tabs before and after are ignored (dialog fields)
    bool decimalComma = false;  // "8,5" is read as 8.5 (dialog fields)
};

// Why a text was not taken.
enum class NumberError {
    none,        // read
    unreadable,  // not a number of the type as a whole ("17a", "", "nan", "inf", "0x8")
    beyondType,  // a number, but too large (or for a real too small) for its type
};

// A parsed value, or why there is none.
template <typename T>
struct ParsedNumber {
    T value{};
    NumberError error = NumberError::unreadable;
    explicit operator bool() const { return error == NumberError::none; }
};

// A decimal 32-bit integer; a single leading '+' is allowed.
ParsedNumber<std::int32_t> parseInteger(std::string_view text, NumberSyntax syntax = {});

// A finite real in general notation (point as separator, exponent allowed); a single leading '+'
// is allowed; infinities and not-a-number are unreadable.
ParsedNumber<double> parseReal(std::string_view text, NumberSyntax syntax = {});

}  // namespace kellvor
