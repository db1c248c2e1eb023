#include "geometry/backlash.h"

#include <cmath>

#include "geometry/constants.h"

namespace kellvor {

bool backlashInRange(double jn, double mn) {
    return std::isfinite(jn) && jn >= 0 && jn < kMaxBacklashFactor * mn;
}

double baseBacklash(const GearPairGeometry& geometry, double jn) {
    return jn / std::cos(geometry.betab);
}

double flankThinning(const GearPairGeometry& geometry, double jn) {
    // Turning an involute about the centre by e moves it e rb along its normal, which is the
    // line of action: a quarter of jbt per flank, on both gears, opens jbt between the flanks
    // that touch on either side.
    return baseBacklash(geometry, jn) / 4 / geometry.rb1;
}

double nominalCircularBacklash(const GearPairGeometry& geometry, double jn) {
    // Along the line of action a turn of gear 2 by d moves its flanks rb2 d; on its working
    // circle that turn is rw2 d = rb2 d / cos(alphawt).
    return jn / (std::cos(geometry.alphawt) * std::cos(geometry.betab));
}

double rackThickening(const GearPairGeometry& geometry, double jn) {
    return baseBacklash(geometry, jn) / 2 / std::cos(geometry.alphat);
}

double normalThicknessThinning(double jn) {
    return jn / (2 * std::cos(kAlphan));
}

}  // namespace kellvor
