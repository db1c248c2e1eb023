// Derived quantities of an external involute gear pair with profile shift.
#pragma once

#include <array>

#include "geometry/gear_pair_input.h"

namespace kellvor {

// Every derived quantity of the pair. Angles in radians, lengths in the unit of mn.
struct GearPairGeometry {
    double u = 0;               // gear ratio z2 / z1
    double alphat = 0;          // transverse pressure angle
    double involutalphay = 0;   // involute of the normal pressure angle
    double mt = 0;              // transverse module
    double d1 = 0, d2 = 0;      // reference diameters
    double pn = 0;              // normal pitch
    double epsilonbeta = 0;     // overlap ratio
    double betab = 0;           // base helix angle
    double db1 = 0, db2 = 0;    // base diameters
    double ad = 0;              // reference centre distance
    double involutalphat = 0;   // involute of the transverse pressure angle
    double xsum = 0;            // x1 + x2
    double involutalphawt = 0;  // involute of the working transverse pressure angle
    double alphawt = 0;         // working transverse pressure angle (NaN when the pair cannot mesh)
    double a = 0;               // working centre distance
    double alphawn = 0;         // working pressure angle in the normal section
    double dw1 = 0, dw2 = 0;    // working pitch diameters
    double pt = 0;              // transverse pitch
    double pen = 0;             // normal base pitch
    double pet = 0;             // transverse base pitch
    double da1 = 0, da2 = 0;    // tip diameters
    double df1 = 0, df2 = 0;    // root diameters
    double epsilonalpha = 0;    // transverse contact ratio
    double k = 0;               // tip alteration factor (dimensionless)
    double acontrol = 0;        // centre distance computed a second way, a check of a
    double rb1 = 0, ra1 = 0, rf1 = 0;  // base, tip and root radius of gear 1
    double dNf = 0;                    // usable involute diameter of gear 1
    bool baseAboveUsable = false;      // db1 > dNf: the involute starts at the base circle
    double rs1 = 0;                    // radius at which the involute flank of gear 1 starts
    double rs2 = 0;                    // the same for gear 2 (by the same rule)
};

// Trace of the Newton iteration for the working transverse pressure angle.
struct InvoluteIteration {
    double start = 0;                  // start value (see solveInvolute); NaN for a negative target
    double result = 0;                 // the iterate with the smallest residual; NaN without one
    int updates = 0;                   // number of Newton updates made
    std::array<double, 3> iterates{};  // the start value and the first two updates, as reached
};

// Solves tan(a) - a = target to the last bits by Newton's method from (3 target)^(1/3), or from
// pi/2 - 1/(target + pi/2) when that is lower (large targets): stops when a step is within 2 ulp
// or the residual stops falling, at most kIterationCap updates.
InvoluteIteration solveInvolute(double target);

// Computes the pair's geometry from values that passed validateInput; never fails (NaN propagates).
GearPairGeometry computeGearPairGeometry(const GearPairInput& input);

}  // namespace kellvor
