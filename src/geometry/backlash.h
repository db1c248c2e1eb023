// Normal backlash of the pair: its allowed range and what it does to the flanks and the mesh.
#pragma once

#include "geometry/gear_pair_geometry.h"

namespace kellvor {

// Upper bound of the normal backlash as a multiple of mn, itself not allowed.
inline constexpr double kMaxBacklashFactor = 0.5;

// Whether jn (mm) is finite and 0 <= jn < 0.5 mn.
bool backlashInRange(double jn, double mn);

// Transverse backlash on the base circle, jbt = jn / cos(betab).
double baseBacklash(const GearPairGeometry& geometry, double jn);

// Turn of each flank of gear 1 toward its tooth axis in radians, (jbt / 4) / rb1: both gears
// thinned so, the free turn of the mesh grows by jbt along the line of action. 0 for jn = 0.
double flankThinning(const GearPairGeometry& geometry, double jn);

// How much the generating rack's tooth is thickened along the pitch line (transverse section) to
// cut flanks thinned by flankThinning: (jbt / 2) / cos(alphat).
double rackThickening(const GearPairGeometry& geometry, double jn);

// How much the normal tooth thickness on the reference circle shrinks when both flanks of a
// tooth are turned by flankThinning: jn / (2 cos(alphan)), the same for both gears (each flank
// moves jn / 4 along its normal, like a smaller profile shift).
double normalThicknessThinning(double jn);

// Circumferential backlash on the working circle that jn should give,
// jt = jn / (cos(alphawt) cos(betab)).
double nominalCircularBacklash(const GearPairGeometry& geometry, double jn);

}  // namespace kellvor
