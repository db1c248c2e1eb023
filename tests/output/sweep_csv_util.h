// Reading the CSV rows of a design sweep back in tests.
#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/assessment.h"
#include "geometry/constants.h"
#include "geometry/gear_pair_geometry.h"

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

// The 21 values a row must read back to, in column order: the eight inputs, the mesh, the
// diameters and the assessment's tip thicknesses, minimum shifts and clearance.
inline std::array<double, 21> expectedSweepValues(const GearPairInput& in,
                                                  const GearPairGeometry& g, const Assessment& a) {
    return {double(in.z1),
            double(in.z2),
            in.mn,
            in.b,
            in.beta,
            in.x1,
            in.x2,
            double(in.segmentCount),
            g.a,
            g.alphawt * kRadToDeg,
            g.epsilonalpha,
            g.epsilonbeta,
            g.da1,
            g.da2,
            g.df1,
            g.df2,
            a.gears[0].san,
            a.gears[1].san,
            a.gears[0].xmin,
            a.gears[1].xmin,
            a.c};
}

}  // namespace kellvor::test
