// Values as they are printed, for checking worked examples at their printed precision.
#pragma once

#include <string>

#include "geometry/real_format.h"

namespace kellvor::test {

// v with the given number of significant digits, as printf's %g writes it.
inline std::string printed(double v, int digits = 6) {
    std::string text;
    appendReal(text, v, digits);
    return text;
}

}  // namespace kellvor::test
