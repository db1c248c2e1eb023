#include "output/fast_real.h"

#include <gtest/gtest.h>

#include "support/printed.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace kellvor {
namespace {

std::string viaFast(double v, int precision) {
    char buf[kMaxRealChars];
    return std::string(buf, formatRealFast(buf, v, precision));
}

std::string viaFormatReal(double v, int precision) {
    char buf[kMaxRealChars];
    return std::string(buf, formatReal(buf, v, precision));
}

// Compares at every precision the writers may use; stops the test at the first difference.
void expectLikePrintf(double v) {
    for (int precision = 1; precision <= 17; ++precision) {
        const std::string expected = test::printfG(v, precision);
        ASSERT_EQ(viaFast(v, precision), expected)
            << "value " << test::printfG(v, 17) << " precision " << precision;
    }
}

TEST(FormatRealFast, SpecialValuesAsPrintfAndFormatReal) {
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             180.0,
                             360.0,
                             0.1,
                             1e-4,
                             9.99999e-5,
                             99999.95,
                             999999.5,
                             1e15,
                             999999999999999.5,
                             1e16,
                             18.4665975730372,
                             -1.75617650779671,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (const double v : values) {
        for (int precision = 1; precision <= 17; ++precision)
            EXPECT_EQ(viaFast(v, precision), viaFormatReal(v, precision)) << v;
        if (!std::isnan(v))
            expectLikePrintf(v);
    }
}

TEST(FormatRealFast, RandomBitPatternsAndMagnitudes) {
    std::mt19937_64 rng(4408);
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-40, 40);
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t b = bits(rng);
        double v;
        std::memcpy(&v, &b, sizeof v);
        if (std::isfinite(v))
            expectLikePrintf(v);
        expectLikePrintf(mantissa(rng) * std::pow(10.0, exponent(rng)));
        if (HasFatalFailure())
            return;
    }
}

// Exact binary halves between two decimals: printf rounds them to even, and the last digits
// of a long mantissa decide which way.
TEST(FormatRealFast, ExactTiesRoundToEven) {
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
TEST(FormatRealFast, NeighboursOfPowersOfTen) {
    for (int k = -320; k <= 308; ++k) {
        const double p = std::pow(10.0, k);
        for (const double v : {p, std::nextafter(p, 0.0), std::nextafter(p, HUGE_VAL), 9.999995 * p,
                               9.5 * p, 0.5 * p, 9.9999999999999995 * p})
            expectLikePrintf(v);
        if (HasFatalFailure())
            return;
    }
}

}  // namespace
}  // namespace kellvor
