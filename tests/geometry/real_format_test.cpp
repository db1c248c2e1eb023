#include "geometry/real_format.h"

#include <gtest/gtest.h>

#include "support/printed.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

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

TEST(FormatReal, NotANumberIsReadableText) {
    EXPECT_EQ(viaFormatReal(std::nan(""), 6), "nan");
}

}  // namespace
}  // namespace kellvor
