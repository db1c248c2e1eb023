// Shared helpers of the outline tests: inputs by name, fixed-decimal printing, reference data.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "geometry/backlash.h"
#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"
#include "outline/mesh_check.h"
#include "outline/pair_placement.h"

namespace kellvor::test {

// A pair whose second gear does not matter to the outline of gear 1.
inline GearPairInput gearInput(std::int32_t z1, double mn, double beta, double x1,
                               std::int32_t segmentCount) {
    return GearPairInput{z1, 40, mn, 20.0, beta, x1, 0.0, segmentCount};
}

inline GearPairGeometry geometryOf(std::int32_t z1, double mn, double beta, double x1,
                                   std::int32_t segmentCount) {
    return computeGearPairGeometry(gearInput(z1, mn, beta, x1, segmentCount));
}

// v with a fixed number of decimals, as the worked examples print coordinates.
inline std::string decimals(double v, int places = 6) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", places, v);
    return buf;
}

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

// The independently computed numbers in tests/data/involute_reference.txt, keyed "case name".
inline std::map<std::string, double> loadInvoluteReference() {
    std::map<std::string, double> values;
    std::ifstream in(std::string(KELLVOR_TEST_DATA_DIR) + "/involute_reference.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string gearCase, name;
        double value = 0;
        if (fields >> gearCase >> name >> value)
            values[gearCase + " " + name] = value;
    }
    return values;
}

}  // namespace kellvor::test
