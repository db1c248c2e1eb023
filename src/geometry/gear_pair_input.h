// The eight values a user enters for a gear pair.
#pragma once

#include <cstdint>

namespace kellvor {

// Entered values of the pair; defaults are the dialog's initial values. Lengths in the unit of mn.
struct GearPairInput {
    std::int32_t z1 = 17;            // teeth of gear 1, whose outline is built
    std::int32_t z2 = 40;            // teeth of gear 2, the mating gear
    double mn = 8.0;                 // normal module
    double b = 45.0;                 // face width
    double beta = 20.0;              // helix angle in degrees
    double x1 = 0.0;                 // profile shift factor of gear 1
    double x2 = 0.0;                 // profile shift factor of gear 2
    std::int32_t segmentCount = 10;  // straight elements per involute flank of gear 1
};

// The same pair seen from gear 2: tooth counts and shifts exchanged, everything else kept. Gear
// 2 of input is gear 1 of the result, so every gear-1 computation serves gear 2 as well.
inline GearPairInput swappedInput(const GearPairInput& input) {
    GearPairInput s = input;
    s.z1 = input.z2;
    s.z2 = input.z1;
    s.x1 = input.x2;
    s.x2 = input.x1;
    return s;
}

}  // namespace kellvor
