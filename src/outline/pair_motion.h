// The pair as it turns: where both drawn gears lie when gear 1 has turned by phi1, which teeth
// face each other, where the flanks touch on the line of action and where the teeth overlap.
// Lengths in mm in the assembly's frame: gear 1's centre at the origin, gear 2's at (0, a), y up.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "outline/pair_placement.h"

namespace kellvor {

// Where both gears' own frames lie in the assembly with gear 1 turned.
struct PairPose {
    RigidMotion gear1;  // the ccw turn by phi1 about the origin
    RigidMotion gear2;  // gear2Placement(a, z2), then turned clockwise by phi1 z1 / z2
};

// The pose for gear 1 turned ccw by phi1 degrees: gear 2 stands at 180 + 180 / z2 - phi1 z1 / z2
// degrees ccw about (0, a), rolling with gear 1 as in the mesh check.
PairPose pairPose(double a, std::int32_t z1, std::int32_t z2, double phi1Degrees);

// The turning pair, prepared once for its values.
struct PairMotion {
    GearOutline gear1;      // as drawn, centre at the origin
    GearOutline gear2;      // in its own frame, placed by the pose
    double a = 0;           // centre distance
    double mn = 0;          // normal module: overlaps thinner than a billionth of it are touching
    LineOfAction line;      // between the tangent points on the base circles
    double reach1 = 0;      // largest distance of outline 1 from its centre
    double reach2 = 0;      // largest distance of outline 2 from its centre
    double nearAngle1 = 0;  // radians about gear 1's centre beyond which it cannot reach gear 2
    double nearAngle2 = 0;  // the same about gear 2's centre
};

// The pair of outlines at centre distance a with its line of action (lineOfAction).
PairMotion preparePairMotion(const GearOutline& gear1, const GearOutline& gear2, double a,
                             double mn, const LineOfAction& line);

// A straight piece of a line, from a to b.
struct Segment2 {
    Point2 a;
    Point2 b;
};

// The path of contact: the part of the line of action within both outlines' reach, from the
// side of t1; nothing when the line misses either.
std::optional<Segment2> pathOfContact(const PairMotion& motion);

// Consecutive teeth of one gear in walk order: first, first + 1, ... modulo z; each tooth with
// the gap after it.
struct ToothRun {
    std::int32_t first = 0;
    std::int32_t count = 0;  // z: the whole gear
};

// The teeth of both gears that can reach the other gear at phi1 degrees.
struct NearTeeth {
    ToothRun gear1;
    ToothRun gear2;
};

// The teeth about the line of centres that can touch the other gear at phi1 (degrees).
NearTeeth nearTeeth(const PairMotion& motion, double phi1Degrees);

// Where gear 1's leading flanks (those that push gear 2 when gear 1 turns ccw) cross the path of
// contact at phi1 (degrees): the points where the teeth touch, from the side of t1.
std::vector<Point2> contactPoints(const PairMotion& motion, double phi1Degrees);

// A closed ring of points (the last joins the first).
using Ring = std::vector<Point2>;

// The regions where the two drawn gears overlap at phi1 (degrees), root arcs taken as chords
// within 1e-5 mn; empty when they only touch or stay apart.
std::vector<Ring> toothOverlaps(const PairMotion& motion, double phi1Degrees);

}  // namespace kellvor
