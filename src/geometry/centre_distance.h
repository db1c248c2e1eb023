// Designing a pair from its centre distance: the shift sum that gives it, and a split of that sum
// with equal specific sliding at both ends of the path of contact.
#pragma once

#include <optional>

#include "geometry/gear_pair_input.h"

namespace kellvor {

// Why no shifts were found.
enum class ShiftDesignError {
    none,
    noWorkingAngle,   // the centre distance is at or below ad cos(alphat): no working angle
    shiftOutOfRange,  // a resulting shift lies outside -0.5 .. 0.5 (gear and value say which)
    noBalance,        // the specific sliding cannot be balanced inside the allowed shifts
};

// The shifts for a centre distance, or why there are none.
struct ShiftDesign {
    ShiftDesignError error = ShiftDesignError::none;
    double xsum = 0;  // x1 + x2 for the centre distance
    double x1 = 0;
    double x2 = 0;
    int gear = 0;         // shiftOutOfRange: the gear (1 or 2) whose shift is outside
    double value = 0;     // shiftOutOfRange: that shift
    double lowestX1 = 0;  // noBalance: the bracket searched for x1
    double highestX1 = 0;
};

// ad cos(alphat) = rb1 + rb2 (unit of mn): the centre distance at which the base circles touch;
// a working pressure angle exists only above it.
double touchingCentreDistance(const GearPairInput& input);

// The shift sum x1 + x2 that makes the working centre distance exactly a for the tooth counts,
// module and helix angle of input; not a number when a <= ad cos(alphat).
double shiftSumForCentreDistance(const GearPairInput& input, double a);

// The specific sliding at the two ends of the path of contact of input at its own working centre
// distance: zeta1 on gear 1's root (start of contact) and zeta2 on gear 2's root (end).
struct SpecificSliding {
    double zeta1 = 0;
    double zeta2 = 0;
};
SpecificSliding specificSliding(const GearPairInput& input);

// x1 and x2 for centre distance a: with x1 (or x2) given the other is the rest of the sum;
// with neither the sum is split for equal specific sliding (bisection on x1 in
// [max(-0.5, xsum - 0.5), min(0.5, xsum + 0.5)]). Both given is the caller's usage error.
ShiftDesign designShifts(const GearPairInput& input, double a, std::optional<double> x1,
                         std::optional<double> x2);

}  // namespace kellvor
