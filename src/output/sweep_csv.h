// The CSV rows of a design sweep: one pair per row with its inputs, main geometry and findings.
#pragma once

#include <string>
#include <string_view>

#include "geometry/assessment.h"
#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"

namespace kellvor {

// The header line of the CSV file, with its line end.
inline constexpr std::string_view kSweepCsvHeader =
    "z1,z2,mn,b,beta,x1,x2,segments,a,alphawt_deg,epsilon_alpha,epsilon_beta,da1,da2,df1,df2,"
    "san1,san2,x_min1,x_min2,c,findings\n";

// The findings code of a row whose inputs fail the range test.
inline constexpr std::string_view kRangeCode = "range";

// Whether the pair has no finding at the level Warnung or Fehler (a Hinweis is allowed).
bool withoutWarning(const Assessment& assessment);

// Appends the row of a pair that passed the range test (lengths in mm, angle in degrees): the
// eight inputs, geometry and judgement in the shortest form that reads back to the same double
// ("nan" for not a number), and the codes of its Warnung and Fehler findings with
// the gear number appended where there is one, joined by ';'. Allocates only when out grows.
void appendSweepCsvRow(std::string& out, const GearPairInput& input, const GearPairGeometry& g,
                       const Assessment& assessment);

// Appends the row of inputs that fail the range test: the inputs, empty value columns and the
// code "range".
void appendSweepCsvRangeRow(std::string& out, const GearPairInput& input);

}  // namespace kellvor
