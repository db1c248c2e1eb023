// The pair as assembled: gear 2 placed at the centre distance so that tooth 0 of gear 1 sits in a
// gap of gear 2, the line of action, and how far each outline reaches from its centre.
#pragma once

#include <cstdint>

#include "outline/flank_profile.h"
#include "outline/gear_outline.h"
#include "outline/point.h"
#include "outline/root_arc.h"

namespace kellvor {

// One gear's drawn outline: the profile and root arc that its walk turns z times.
struct GearOutline {
    FlankProfile profile;
    RootArc arc;
    std::int32_t z = 0;
};

// A turn counter-clockwise about the origin followed by a shift: where a gear's own frame lies.
struct RigidMotion {
    double c = 1;        // cosine of the turn
    double s = 0;        // sine of the turn
    double degrees = 0;  // the turn in degrees, for arc angles
    Point2 offset;       // where the gear's centre goes
};

// The counter-clockwise turn by degrees about the origin, then the shift by offset.
RigidMotion rigidMotion(double degrees, Point2 offset);

// p of the gear's own frame in the frame the motion places it into.
Point2 apply(const RigidMotion& m, Point2 p);

// An arc angle (degrees ccw from +x) of the gear's own frame in the placed frame, in [0, 360).
double applyToAngle(const RigidMotion& m, double degrees);

// Moves a turned tooth of the walk (points, root arc centre and angles) where m places its gear.
void placeTooth(const RigidMotion& m, OutlineTooth& tooth);

// Gear 2's placement in the assembly: turned ccw by 180 + 180 / z2 degrees about its centre, so
// that a gap faces gear 1's tooth 0, and moved to (0, a).
RigidMotion gear2Placement(double a, std::int32_t z2);

// The line of action for gear 1 driving counter-clockwise, between its tangent points on the
// base circles: t1 = rb1 (sin alphawt, cos alphawt), t2 = (0, a) - rb2 (sin alphawt, cos alphawt).
struct LineOfAction {
    Point2 t1;
    Point2 t2;
};

// The line of action of base radii rb1, rb2 at centre distance a and working angle alphawt (rad).
LineOfAction lineOfAction(double rb1, double rb2, double a, double alphawt);

// The smallest and largest distance of an outline's lines and arcs from its centre.
struct OutlineReach {
    double min = 0;
    double max = 0;
};

// The reach of the outline, from its true segments and arc (every tooth is the first one turned).
OutlineReach outlineReach(const GearOutline& outline);

// The largest angle (radians) at a gear's centre, from the direction of the other centre at
// distance a, at which a point of this gear within reach of its centre comes within otherReach
// of the other centre; 0 when none can. Beyond it no tooth of this gear touches the other gear.
double reachAngle(double reach, double otherReach, double a);

}  // namespace kellvor
