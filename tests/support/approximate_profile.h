// The older approximate flank formula, with which the worked example numbers were computed
// (points at x = s/2, y = r cos(s/r), thickness with tan(alphat) and inv(alphan)).
// The product code places the points on the true involute; this is only for checking the fit,
// the walk, the writers and the preview against those numbers.
#pragma once

#include <cstdint>

#include "geometry/gear_pair_geometry.h"
#include "outline/flank_profile.h"

namespace kellvor::test {

// The approximate profile of one tooth of gear 1 (same radii and order as the real one).
FlankProfile buildApproximateFlankProfile(const GearPairGeometry& geometry, double x1,
                                          std::int32_t segmentCount);

}  // namespace kellvor::test
