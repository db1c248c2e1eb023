// The plain-text report of the pair's geometry (zahnradwerte.txt).
#pragma once

#include <string>

#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"

namespace kellvor {

// The report's 64 lines (44 labelled rows, 20 empty lines), values as %.6g, LF line ends.
std::string formatGeometryReport(const GearPairInput& input, const GearPairGeometry& geometry);

}  // namespace kellvor
