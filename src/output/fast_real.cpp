#include "output/fast_real.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace kellvor {
namespace {

// 128-bit products keep every decision on rounding exact (a GCC and Clang extension).
__extension__ typedef unsigned __int128 u128;

// Largest power of 5 whose product with a 53-bit mantissa still fits into 128 bits.
constexpr int kMaxPow5 = 32;
// Largest power of 10 below 2^127.
constexpr int kMaxPow10 = 38;
// Largest binary exponent of an integral value whose mantissa, shifted, fits into 128 bits.
constexpr int kMaxIntegralShift = 74;

constexpr u128 pow5(int n) {
    u128 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 5;
    return p;
}

constexpr u128 pow10(int n) {
    u128 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

struct Tables {
    u128 five[kMaxPow5 + 1];
    u128 ten[kMaxPow10 + 1];
};

constexpr Tables makeTables() {
    Tables t{};
    for (int i = 0; i <= kMaxPow5; ++i)
        t.five[i] = pow5(i);
    for (int i = 0; i <= kMaxPow10; ++i)
        t.ten[i] = pow10(i);
    return t;
}

constexpr Tables kTables = makeTables();

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The value m * 2^e * 10^s cut to an integer, and whether the cut-off part is below, at or
// above one half. Works on exact integers, so the decision on rounding is exact too.
struct Scaled {
    std::uint64_t quotient = 0;
    int remainderVsHalf = 0;     // -1 below one half, 0 exactly one half, +1 above
    bool remainderZero = false;  // the cut-off part is exactly zero
    bool valid = false;          // false when the magnitudes leave the 128-bit range
};

Scaled scale(std::uint64_t m, int e, int s) {
    Scaled r;
    if (s >= 0) {
        if (s > kMaxPow5)
            return r;
        // m 2^e 10^s = m 5^s 2^(e+s)
        const u128 num = static_cast<u128>(m) * kTables.five[s];
        const int shift = -(e + s);
        if (shift <= 0) {
            if (shift < -kMaxIntegralShift)
                return r;
            const u128 q = num << -shift;
            if (q >> 64 != 0)
                return r;
            r.quotient = static_cast<std::uint64_t>(q);
            r.remainderVsHalf = -1;
            r.remainderZero = true;
        } else {
            if (shift > 127)
                return r;
            const u128 q = num >> shift;
            if (q >> 64 != 0)
                return r;
            const u128 rem = num - (q << shift);
            const u128 half = static_cast<u128>(1) << (shift - 1);
            r.quotient = static_cast<std::uint64_t>(q);
            r.remainderVsHalf = rem < half ? -1 : (rem == half ? 0 : 1);
            r.remainderZero = rem == 0;
        }
    } else {
        const int t = -s;
        if (t > kMaxPow10)
            return r;
        u128 num = m;
        u128 den = kTables.ten[t];
        if (e >= 0) {
            if (e > kMaxIntegralShift)
                return r;
            num <<= e;
        } else {
            // A value of at least 10^precision with a fractional binary exponent has a small
            // denominator; it fits as long as it stays below 2^127.
            if (-e > 127 || den > (static_cast<u128>(1) << (127 + e)))
                return r;
            den <<= -e;
        }
        const u128 q = num / den;
        if (q >> 64 != 0)
            return r;
        const u128 rem = num - q * den;
        const u128 twice = rem * 2;
        r.quotient = static_cast<std::uint64_t>(q);
        r.remainderVsHalf = twice < den ? -1 : (twice == den ? 0 : 1);
        r.remainderZero = rem == 0;
    }
    r.valid = true;
    return r;
}

// Writes the four digits of v < 10^4 at out.
void writeFour(char* out, std::uint32_t v) {
    std::memcpy(out, kDigitPairs + (v / 100) * 2, 2);
    std::memcpy(out + 2, kDigitPairs + (v % 100) * 2, 2);
}

// Writes the eight digits of v < 10^8 at out.
void writeEight(char* out, std::uint32_t v) {
    writeFour(out, v / 10000);
    writeFour(out + 4, v % 10000);
}

// Writes the count decimal digits of q (with leading zeros) at out. Up to 16 digits the
// number is split into independent groups of four, which keeps the chain of divisions short.
void writeDigits(char* out, std::uint64_t q, int count) {
    if (count <= 16) {
        char all[16];
        writeEight(all, static_cast<std::uint32_t>(q / 100000000));
        writeEight(all + 8, static_cast<std::uint32_t>(q % 100000000));
        std::memcpy(out, all + 16 - count, static_cast<std::size_t>(count));
        return;
    }
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + q % 10);
        q /= 10;
    }
}

char* writeExponent(char* out, int x) {
    *out++ = 'e';
    *out++ = x < 0 ? '-' : '+';
    unsigned ax = static_cast<unsigned>(x < 0 ? -x : x);
    if (ax >= 100) {
        *out++ = static_cast<char>('0' + ax / 100);
        ax %= 100;
    }
    std::memcpy(out, kDigitPairs + ax * 2, 2);
    return out + 2;
}

}  // namespace

char* formatRealFast(char* out, double v, int precision) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    const auto biased = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0x7ff || precision < 1 || precision > 17)
        return formatReal(out, v, precision);
    char* p = out;
    if (bits >> 63 != 0)
        *p++ = '-';
    if (biased == 0 && fraction == 0) {
        *p++ = '0';
        return p;
    }
    // v = m 2^e with an integer mantissa m.
    const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const int e = biased == 0 ? -1074 : biased - 1075;
    // floor(log2 |v|) and from it floor(log10 |v|) or one less (78913 / 2^18 ~ log10 2).
    const int log2v = e + 63 - std::countl_zero(m);
    int x = (log2v * 78913) >> 18;
    const auto limit = static_cast<std::uint64_t>(kTables.ten[precision]);
    int s = precision - 1 - x;
    Scaled sc = scale(m, e, s);
    if (!sc.valid)
        return formatReal(out, v, precision);
    if (sc.quotient >= limit) {
        // One digit too many: the estimate of the exponent was one low. Dropping the last
        // digit d leaves the cut-off part (d + f) / 10, f being the part cut off before.
        const auto d = static_cast<int>(sc.quotient % 10);
        sc.quotient /= 10;
        sc.remainderVsHalf = d < 5 ? -1 : (d > 5 || !sc.remainderZero ? 1 : 0);
        sc.remainderZero = d == 0 && sc.remainderZero;
        ++x;
    }
    // Round to nearest, ties to even, as printf does on the exact binary value.
    std::uint64_t q = sc.quotient;
    if (sc.remainderVsHalf > 0 || (sc.remainderVsHalf == 0 && (q & 1) != 0))
        ++q;
    if (q == limit) {
        q /= 10;
        ++x;
    }
    char digits[20];
    writeDigits(digits, q, precision);
    int count = precision;
    while (count > 1 && digits[count - 1] == '0')
        --count;
    if (x < -4 || x >= precision) {
        *p++ = digits[0];
        if (count > 1) {
            *p++ = '.';
            std::memcpy(p, digits + 1, static_cast<std::size_t>(count - 1));
            p += count - 1;
        }
        return writeExponent(p, x);
    }
    if (x < 0) {
        *p++ = '0';
        *p++ = '.';
        for (int i = -1; i > x; --i)
            *p++ = '0';
        std::memcpy(p, digits, static_cast<std::size_t>(count));
        return p + count;
    }
    const int whole = x + 1;
    if (count <= whole) {
        std::memcpy(p, digits, static_cast<std::size_t>(count));
        p += count;
        for (int i = count; i < whole; ++i)
            *p++ = '0';
        return p;
    }
    std::memcpy(p, digits, static_cast<std::size_t>(whole));
    p += whole;
    *p++ = '.';
    std::memcpy(p, digits + whole, static_cast<std::size_t>(count - whole));
    return p + (count - whole);
}

}  // namespace kellvor
