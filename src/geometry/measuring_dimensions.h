// Inspection dimensions a workshop measures on a cut gear: normal tooth thickness, span
// measurement over k teeth and dimension over two balls.
#pragma once

#include <array>
#include <cstdint>

#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"

namespace kellvor {

// Ball diameters whose contact with the flanks lies on the drawn involute, between the radius
// where it starts (rs) and the tip circle. Lengths in the unit of mn.
struct BallRange {
    double min = 0;
    double max = 0;

    // Whether d lies inside (ends included).
    bool contains(double d) const { return d >= min && d <= max; }
};

// The inspection dimensions of one gear (lengths in the unit of mn).
struct GearInspection {
    double sn = 0;       // normal tooth thickness on the reference circle
    std::int32_t k = 0;  // number of teeth spanned by Wk
    double Wk = 0;       // span measurement over k teeth
    double Md = 0;       // dimension over two balls; NaN when the ball misses the drawn involute
    double ballContact = 0;  // radius where the ball touches the flanks (NaN: below the base)
    BallRange ball;          // ball diameters that touch the drawn involute of this gear
};

// The inspection dimensions of both gears for one ball.
struct InspectionDimensions {
    std::array<GearInspection, 2> gears{};  // gear 1, gear 2
    double DM = 0;                          // ball diameter
    double thinning = 0;                    // thinning of sn for backlash, 0 for none
};

// The usual ball: 1.68 mn rounded to 0.01 (the unit of mn being mm).
double defaultBallDiameter(double mn);

// The ball diameters that touch the drawn involute of gear 1 of geometry, for a normal tooth
// thickness thinned by thinning.
BallRange ballRange(const GearPairInput& input, const GearPairGeometry& geometry,
                    double thinning = 0);

// Radius at which a ball of diameter DM in a gap of gear 1 of geometry touches the flanks; NaN
// when the ball would sink below the base circle.
double ballContactRadius(const GearPairInput& input, const GearPairGeometry& geometry, double DM,
                         double thinning = 0);

// The inspection dimensions of gear 1 of geometry with ball diameter DM; thinning (>= 0) is
// taken off the normal tooth thickness and carried into Wk and Md.
GearInspection inspectGear(const GearPairInput& input, const GearPairGeometry& geometry, double DM,
                           double thinning = 0);

// Both gears, from the pair's geometry and the geometry of swappedInput(input).
InspectionDimensions inspectGearPair(const GearPairInput& input, const GearPairGeometry& geometry,
                                     const GearPairGeometry& swapped, double DM,
                                     double thinning = 0);

}  // namespace kellvor
