// Shared helpers of the outline tests: inputs by name, fixed-decimal printing, reference data.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"
#include "outline/pair_test_util.h"

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
