// Formatting of reals in the general notation of printf's %g, without streams or locales.
#pragma once

#include <charconv>
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

}  // namespace kellvor
