// Formatting of reals in the general notation of printf's %g, without streams or locales.
#pragma once

#include <charconv>
#include <cmath>
#include <string>

namespace kellvor {

// Longest text appendReal can produce for any double and precision up to 17.
inline constexpr int kMaxRealChars = 32;

// Writes v like printf("%.<precision>g") at out and returns the end; out needs kMaxRealChars.
inline char* formatReal(char* out, double v, int precision) {
    return std::to_chars(out, out + kMaxRealChars, v, std::chars_format::general, precision).ptr;
}

// Appends v like printf("%.<precision>g") to text.
inline void appendReal(std::string& text, double v, int precision) {
    char buf[kMaxRealChars];
    text.append(buf, formatReal(buf, v, precision));
}

// Writes v in the shortest form that reads back to the same double (std::to_chars without a
// precision) at out and returns the end; "nan" for any not-a-number. out needs kMaxRealChars.
inline char* formatShortestReal(char* out, double v) {
    if (std::isnan(v)) {
        // to_chars would write the sign of a negative not-a-number as well.
        *out++ = 'n';
        *out++ = 'a';
        *out++ = 'n';
        return out;
    }
    return std::to_chars(out, out + kMaxRealChars, v).ptr;
}

// Appends v in the shortest form that reads back to the same double; "nan" for not a number.
inline void appendShortestReal(std::string& text, double v) {
    char buf[kMaxRealChars];
    text.append(buf, formatShortestReal(buf, v));
}

}  // namespace kellvor
