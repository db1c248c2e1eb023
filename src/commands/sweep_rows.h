// The rows of a design sweep: each grid point judged and formatted as one CSV row.
#pragma once

#include <string>

#include "geometry/gear_pair_input.h"

namespace kellvor {

// Which grid points get a row.
enum class SweepRows {
    all,     // every point, a point that fails the range test with the code "range"
    onlyOk,  // only points that pass the range test and have no Warnung or Fehler
};

// Appends the CSV row of point to out (see output/sweep_csv.h): the range test, the pair's
// geometry and findings. Returns false, appending nothing, for a point that rows leaves out.
// Shares no state: threads may call it at once.
bool appendSweepRow(const GearPairInput& point, SweepRows rows, std::string& out);

}  // namespace kellvor
