// Shared helpers of the pair's tests: drawn outlines and the mesh check's setup of an input.
#pragma once

#include "geometry/backlash.h"
#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"
#include "outline/mesh_check.h"
#include "outline/pair_placement.h"

namespace kellvor::test {

// Gear 1's drawn outline of input with its flanks thinned for the normal backlash jn (the arc
// fit must succeed).
inline GearOutline gearOutline(const GearPairInput& input, double jn = 0) {
    const GearPairGeometry g = computeGearPairGeometry(input);
    GearOutline outline;
    outline.profile = buildFlankProfile(g, input.x1, input.segmentCount, flankThinning(g, jn));
    outline.arc = fitRootArc(outline.profile, g.rf1, input.z1).value_or(RootArc{});
    outline.z = input.z1;
    return outline;
}

// The mesh check's setup of the pair of input at its centre distance moved by shift.
inline MeshSetup meshSetup(const GearPairInput& input, double jn = 0, double shift = 0) {
    const GearPairGeometry g = computeGearPairGeometry(input);
    return MeshSetup{gearOutline(input, jn),
                     gearOutline(swappedInput(input), jn),
                     g.a + shift,
                     g.dw2 / 2,
                     input.mn,
                     jn,
                     nominalCircularBacklash(g, jn)};
}

}  // namespace kellvor::test
