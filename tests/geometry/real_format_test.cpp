#include "geometry/real_format.h"

#include <gtest/gtest.h>

#include "support/printed.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace kellvor {
namespace {

std::string viaFormatReal(double v, int precision) {
    char buf[kMaxRealChars];
    return std::string(buf, formatReal(buf, v, precision));
}

TEST(FormatReal, MatchesPrintfOnSpecialValues) {
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             180.0,
                             360.0,
                             0.1,
                             0.30000000000000004,
                             1e-5,
                             9.99999e-5,
                             1e-4,
                             123456.5,
                             999999.5,
                             1e6,
                             1e15,
                             1e16,
                             18.4665975730372,
                             -1.75617650779671,
                             5.59379e-06,
                             2147483647.0,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity()};
    for (const int precision : {6, 15}) {
        for (const double v : values) {
            EXPECT_EQ(viaFormatReal(v, precision), test::printfG(v, precision)) << v;
            EXPECT_EQ(viaFormatReal(-v, precision), test::printfG(-v, precision)) << -v;
        }
    }
}

TEST(FormatReal, MatchesPrintfOverManyRandomValues) {
    std::mt19937_64 rng(20261207);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 200000; ++i) {
        double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        if (i % 4 == 0) {
            const std::uint64_t b = bits(rng);
            std::memcpy(&v, &b, sizeof v);
            if (!std::isfinite(v))
                continue;
        }
        ASSERT_EQ(viaFormatReal(v, 6), test::printfG(v, 6)) << v;
        ASSERT_EQ(viaFormatReal(v, 15), test::printfG(v, 15)) << v;
    }
}

// Compares at the two precisions the files use; stops the test at the first difference.
void expectLikePrintf(double v) {
    for (const int precision : {6, 15})
        ASSERT_EQ(viaFormatReal(v, precision), test::printfG(v, precision))
            << "value " << test::printfG(v, 17) << " precision " << precision;
}

// Halfway cases: the decimal digits after the last kept one are exactly 5000...
TEST(FormatReal, ExactTiesLikePrintf) {
    std::mt19937_64 rng(226);
    std::uniform_int_distribution<std::uint64_t> mantissa(0, (std::uint64_t{1} << 53) - 1);
    for (int i = 0; i < 40000; ++i) {
        const auto m = static_cast<double>(mantissa(rng));
        expectLikePrintf(m);
        expectLikePrintf(std::ldexp(m, -(i % 64)));
        expectLikePrintf(std::ldexp(m, i % 80));
        if (HasFatalFailure())
            return;
    }
    for (const double v : {0.5, 2.5, 1.25, 0.125, 1234567.5, 123456789012345.5, 9007199254740993.0})
        expectLikePrintf(v);
}

// Values next to powers of ten change the exponent, and with it fixed or exponential notation.
TEST(FormatReal, NeighboursOfPowersOfTenLikePrintf) {
    for (int k = -320; k <= 308; ++k) {
        const double p = std::pow(10.0, k);
        for (const double v : {p, std::nextafter(p, 0.0), std::nextafter(p, HUGE_VAL), 9.999995 * p,
                               9.5 * p, 0.5 * p, 9.9999999999999995 * p})
            expectLikePrintf(v);
        if (HasFatalFailure())
            return;
    }
}

TEST(FormatReal, NotANumberIsReadableText) {
    EXPECT_EQ(viaFormatReal(std::nan(""), 6), "nan");
}

// The shortest form reads back to the same bits, and no printf form that does is shorter.
TEST(FormatShortestReal, ReadsBackAndIsShortest) {
    std::mt19937_64 rng(11);
    const auto check = [](double v) {
        std::string text;
        appendShortestReal(text, v);
        const double back = std::strtod(text.c_str(), nullptr);
        EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << text;
        // No printf form with the fewest digits that read back is shorter.
        for (int digits = 1; digits <= 17; ++digits) {
            char form[400];
            std::snprintf(form, sizeof form, "%.*g", digits, v);
            if (std::strtod(form, nullptr) == v) {
                EXPECT_LE(text.size(), std::strlen(form)) << text << " " << form;
                break;
            }
        }
    };
    for (const double v : {0.30000000000000004, 0.1, -0.0, 1e22, 5e-324, 1.7976931348623157e308,
                           -2.5, 123456789012345680.0, 1e-7})
        check(v);
    for (int i = 0; i < 30000; ++i) {
        std::uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            check(v);
        check(static_cast<double>(static_cast<std::int64_t>(bits >> 20)) * 1e-6);
        if (HasFailure())
            return;
    }
    std::string nan;
    appendShortestReal(nan, -std::nan(""));
    EXPECT_EQ(nan, "nan");
}

}  // namespace
}  // namespace kellvor
