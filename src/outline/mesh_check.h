// The mesh check: both drawn outlines turned through one pitch of gear 1 in 360 steps; at each
// step the turns of gear 2 about its centre that leave the outlines apart, and from them the
// circumferential backlash, the tip clearances and the first step at which the teeth interfere.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "outline/mesh_sweep.h"
#include "outline/pair_placement.h"

namespace kellvor {

// Number of steps over one pitch of gear 1.
inline constexpr std::int32_t kMeshSteps = 360;

// The pair to check and the figures its record carries along. Lengths in mm.
struct MeshSetup {
    GearOutline gear1;  // as drawn, centre at the origin
    GearOutline gear2;  // as drawn in its own frame; placed by gear2Placement(a, z2)
    double a = 0;       // centre distance: gear 2's centre at (0, a)
    double rw2 = 0;     // working radius dw2 / 2 of gear 2, on which jt is measured
    double mn = 0;      // normal module: a penetration up to 1e-9 mn counts as touching
    double jn = 0;      // normal backlash the flanks were thinned for
    double jtSoll = 0;  // circumferential backlash that jn should give
};

// The result of the check: a plain record for the report and other outputs.
struct MeshCheck {
    double jn = 0;      // normal backlash given
    double jtSoll = 0;  // circumferential backlash jn should give
    double jtMin = 0;   // smallest measured jt over the steps with a free turn; NaN if none
    double jtMax = 0;   // largest measured jt; NaN if no step has a free turn
    double c1 = 0;      // a - reach of outline 1 - root reach of outline 2 (may be negative)
    double c2 = 0;      // a - reach of outline 2 - root reach of outline 1
    std::optional<double> interferencePhi1;  // first step (degrees of gear 1) with no free turn
};

// The free turns of gear 2 at one step: radians ccw about its centre from its rolling position.
struct FreeTurn {
    double lo = 0;
    double hi = 0;
};

// Polar angles about gear 1's centre, ccw from +y, that hold an element (-pi .. pi when they
// cannot be told).
struct AngleRange {
    double min = 0;
    double max = 0;
};

// The teeth of both outlines that can meet at some step, collected once from their walks.
struct MeshModel {
    std::vector<SweepElement> gear1;      // gear 1's elements in its own frame (centre at origin)
    std::vector<AngleRange> gear1Angles;  // where each of them lies about gear 1's centre
    double reachAngle1 = 0;  // beyond this angle from the line of centres gear 1 touches nothing
    std::vector<SweepElement> gear2;  // gear 2's elements placed, relative to its centre
    double a = 0;
    double reach1 = 0;       // largest distance of outline 1 from its centre
    double reach2 = 0;       // largest distance of outline 2 from its centre
    double ratio = 0;        // z1 / z2: gear 2 turns clockwise by phi1 z1 / z2
    double halfPitch2 = 0;   // 180 degrees / z2 in radians: the farthest free turn looked at
    double tolerance = 0;    // penetration that counts as touching, 1e-9 mn
    double firstWindow = 0;  // half width of the first range of turns looked at
};

// Collects the teeth near the line of centres from both walks.
MeshModel prepareMesh(const MeshSetup& setup);

// The free turns of gear 2 with gear 1 turned ccw by phi1 (radians): the interval of turns
// (within half a pitch of gear 2) at which the outlines do not overlap deeper than the
// tolerance, the one holding 0 or else the nearest to 0; nothing when the teeth interfere.
std::optional<FreeTurn> freeTurn(const MeshModel& model, double phi1);

// The whole check over the 360 steps phi1 = k (360 / z1) / 360 degrees, k = 0 .. 359.
MeshCheck checkMesh(const MeshSetup& setup);

}  // namespace kellvor
