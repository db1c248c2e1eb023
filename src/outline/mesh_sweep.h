// Closed forms of the mesh check: where an element of gear 2, turning about gear 2's centre,
// touches an element of gear 1, and whether the two cross at a given turn. All points are
// relative to gear 2's centre (the pivot); turns are radians counter-clockwise.
#pragma once

#include <vector>

#include "outline/point.h"

namespace kellvor {

// A straight segment or a circular arc of a drawn outline, relative to the pivot.
struct SweepElement {
    bool isArc = false;
    Point2 a;             // start: the segment from a to b; the arc ccw about centre from a to b
    Point2 b;             // end
    Point2 centre;        // arcs: centre of the circle
    double radius = 0;    // arcs: radius of the circle
    double rhoMin = 0;    // smallest distance from the pivot (a lower bound for arcs)
    double rhoMax = 0;    // largest distance from the pivot (an upper bound for arcs)
    double thetaMin = 0;  // polar angles about the pivot, measured ccw from -y: a range that
    double thetaMax = 0;  // holds the element (-pi .. pi when it cannot be told)
};

// The segment from a to b with its bounds.
SweepElement sweepSegment(Point2 a, Point2 b);

// The arc of the circle (centre, radius) ccw from a to b with its bounds.
SweepElement sweepArc(Point2 centre, double radius, Point2 a, Point2 b);

// Appends every turn d of moving (ccw about the pivot) at which it touches fixed in a way that
// can start or end a crossing of the two: an end of one on the other, or an arc tangent to the
// other element's line or circle. A few more turns than needed may be given; none is missed.
void appendContactTurns(const SweepElement& fixed, const SweepElement& moving,
                        std::vector<double>& turns);

// Whether fixed and moving turned by d meet at all (touching counts).
bool meetAtTurn(const SweepElement& fixed, const SweepElement& moving, double d);

}  // namespace kellvor
