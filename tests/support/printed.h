// Values as they are printed, for checking worked examples at their printed precision.
#pragma once

#include <cstdio>
#include <string>

#include "geometry/real_format.h"

namespace kellvor::test {

// v with the given number of significant digits, as printf's %g writes it.
inline std::string printed(double v, int digits = 6) {
    std::string text;
    appendReal(text, v, digits);
    return text;
}

// v as the C library's printf("%.<precision>g") writes it: the reference for our formatters.
inline std::string printfG(double v, int precision) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", precision, v);
    return buf;
}

}  // namespace kellvor::test
