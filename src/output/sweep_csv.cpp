#include "output/sweep_csv.h"

#include <charconv>

#include "geometry/constants.h"
#include "geometry/real_format.h"

namespace kellvor {
namespace {

// Room for one row: 21 numbers of at most kMaxRealChars and eight findings of at most 15
// characters each, with their separators.
constexpr std::size_t kRowChars = 21 * (kMaxRealChars + 1) + kMaxFindings * 16 + 2;

// Value columns after the inputs: a ... c.
constexpr int kValueColumns = 13;

char* putInteger(char* p, std::int32_t v) {
    return std::to_chars(p, p + kMaxRealChars, v).ptr;
}

char* putText(char* p, std::string_view text) {
    for (const char c : text)
        *p++ = c;
    return p;
}

// The eight inputs, each followed by a comma.
char* putInputs(char* p, const GearPairInput& in) {
    p = putInteger(p, in.z1);
    *p++ = ',';
    p = putInteger(p, in.z2);
    *p++ = ',';
    for (const double v : {in.mn, in.b, in.beta, in.x1, in.x2}) {
        p = formatShortestReal(p, v);
        *p++ = ',';
    }
    p = putInteger(p, in.segmentCount);
    *p++ = ',';
    return p;
}

}  // namespace

bool withoutWarning(const Assessment& assessment) {
    for (const Finding& f : assessment.list())
        if (f.level != FindingLevel::note)
            return false;
    return true;
}

void appendSweepCsvRow(std::string& out, const GearPairInput& input, const GearPairGeometry& g,
                       const Assessment& assessment) {
    char row[kRowChars];
    char* p = putInputs(row, input);
    const auto& [gear1, gear2] = assessment.gears;
    const double values[kValueColumns] = {g.a,
                                          g.alphawt * kRadToDeg,
                                          g.epsilonalpha,
                                          g.epsilonbeta,
                                          g.da1,
                                          g.da2,
                                          g.df1,
                                          g.df2,
                                          gear1.san,
                                          gear2.san,
                                          gear1.xmin,
                                          gear2.xmin,
                                          assessment.c};
    for (const double v : values) {
        p = formatShortestReal(p, v);
        *p++ = ',';
    }
    bool first = true;
    for (const Finding& f : assessment.list()) {
        if (f.level == FindingLevel::note)
            continue;
        if (!first)
            *p++ = ';';
        first = false;
        p = putText(p, findingCodeName(f.code));
        if (f.gear != 0)
            *p++ = static_cast<char>('0' + f.gear);
    }
    *p++ = '\n';
    out.append(row, p);
}

void appendSweepCsvRangeRow(std::string& out, const GearPairInput& input) {
    char row[kRowChars];
    char* p = putInputs(row, input);
    for (int i = 0; i < kValueColumns; ++i)
        *p++ = ',';
    p = putText(p, kRangeCode);
    *p++ = '\n';
    out.append(row, p);
}

}  // namespace kellvor
