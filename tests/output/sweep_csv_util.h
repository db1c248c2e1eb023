// Reading the CSV rows of a design sweep back in tests.
#pragma once

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/assessment.h"

namespace kellvor::test {

// The fields of one line split at sep (an empty line is one empty field).
inline std::vector<std::string> splitFields(std::string_view line, char sep = ',') {
    std::vector<std::string> fields;
    for (;;) {
        const auto at = line.find(sep);
        fields.emplace_back(line.substr(0, at));
        if (at == std::string_view::npos)
            return fields;
        line.remove_prefix(at + 1);
    }
}

// The double a CSV field reads back to: "nan" is not a number; anything unreadable is -inf, so
// that it matches no value of a row.
inline double readBack(const std::string& text) {
    if (text == "nan")
        return std::nan("");
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && end == text.data() + text.size() ? v : -INFINITY;
}

// Whether two doubles are the same bits, or both not a number.
inline bool sameDouble(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// The findings column a pair must get: the Warnung and Fehler codes, gear number appended.
inline std::string findingsColumn(const Assessment& assessment) {
    std::string codes;
    for (const Finding& f : assessment.list()) {
        if (f.level == FindingLevel::note)
            continue;
        if (!codes.empty())
            codes += ';';
        codes += findingCodeName(f.code);
        if (f.gear != 0)
            codes += std::to_string(f.gear);
    }
    return codes;
}

}  // namespace kellvor::test
