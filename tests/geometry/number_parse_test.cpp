#include "geometry/number_parse.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>

namespace kellvor {
namespace {

// One text, read with the command line's strictness and with the dialog's field syntax.
struct NumberCase {
    const char* name;
    const char* text;
    NumberError strict;  // as the command line reads it
    NumberError field;   // as a dialog field with decimal comma reads it
    double value = 0;    // the value read where either succeeds
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr NumberError kOk = NumberError::none;
constexpr NumberError kBad = NumberError::unreadable;
constexpr NumberError kBeyond = NumberError::beyondType;

const NumberCase kRealCases[] = {
    {"plain", "8.5", kOk, kOk, 8.5},
    {"leadingPoint", ".5", kOk, kOk, 0.5},
    {"exponent", "1e-25", kOk, kOk, 1e-25},
    {"plus", "+17", kOk, kOk, 17},
    {"minus", "-0.5", kOk, kOk, -0.5},
    {"doubleSign", "+-1", kBad, kBad},
    {"comma", "8,5", kBad, kOk, 8.5},
    {"commaAndPoint", "1.000,5", kBad, kBad},
    {"twoCommas", "1,0,5", kBad, kBad},
    {"blanks", " 8.5\t", kBad, kOk, 8.5},
    {"innerBlank", "8 .5", kBad, kBad},
    {"empty", "", kBad, kBad},
    {"onlyBlanks", "  ", kBad, kBad},
    {"letters", "0.1x", kBad, kBad},
    {"hex", "0x8", kBad, kBad},
    {"nan", "nan", kBad, kBad},
    {"infinity", "-inf", kBad, kBad},
    {"overflow", "1e999", kBeyond, kBeyond},
    {"underflow", "1e-999", kBeyond, kBeyond},
};

class ParseRealTable : public testing::TestWithParam<NumberCase> {};

TEST_P(ParseRealTable, StrictAndFieldSyntax) {
    const NumberCase& c = GetParam();
    const auto strict = parseReal(c.text);
    const auto field = parseReal(c.text, NumberSyntax{true, true});
    EXPECT_EQ(strict.error, c.strict);
    EXPECT_EQ(field.error, c.field);
    if (strict) {
        EXPECT_EQ(strict.value, c.value);
    }
    if (field) {
        EXPECT_EQ(field.value, c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ParseRealTable, testing::ValuesIn(kRealCases),
                         [](const auto& row) { return std::string(row.param.name); });

const NumberCase kIntegerCases[] = {
    {"largest", "2147483647", kOk, kOk, 2147483647},
    {"smallest", "-2147483648", kOk, kOk, -2147483648.0},
    {"beyondLargest", "2147483648", kBeyond, kBeyond},
    {"beyondSmallest", "-2147483649", kBeyond, kBeyond},
    {"plus", "+17", kOk, kOk, 17},
    {"blanks", " 17 ", kBad, kOk, 17},
    {"fraction", "17.5", kBad, kBad},
    {"comma", "17,0", kBad, kBad},
    {"hex", "0x11", kBad, kBad},
    {"empty", "", kBad, kBad},
};

class ParseIntegerTable : public testing::TestWithParam<NumberCase> {};

TEST_P(ParseIntegerTable, StrictAndFieldSyntax) {
    const NumberCase& c = GetParam();
    const auto strict = parseInteger(c.text);
    const auto field = parseInteger(c.text, NumberSyntax{true, true});
    EXPECT_EQ(strict.error, c.strict);
    EXPECT_EQ(field.error, c.field);
    if (strict) {
        EXPECT_EQ(strict.value, static_cast<std::int32_t>(c.value));
    }
    if (field) {
        EXPECT_EQ(field.value, static_cast<std::int32_t>(c.value));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ParseIntegerTable, testing::ValuesIn(kIntegerCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Every double written with 17 digits reads back to itself, with a point and with a comma.
TEST(ParseReal, SeventeenDigitsRoundTripWithPointAndComma) {
    std::uint64_t state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double v = static_cast<double>(state >> 11) * 0x1.0p-53 * 100.0 - 50.0;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        std::string text = buf;
        ASSERT_EQ(parseReal(text).value, v) << text;
        for (char& ch : text)
            if (ch == '.')
                ch = ',';
        ASSERT_EQ(parseReal(text, NumberSyntax{true, true}).value, v) << text;
    }
}

}  // namespace
}  // namespace kellvor
