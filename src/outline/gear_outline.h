// The walk over all teeth of a gear: each tooth turned by its pitch angle with its root arc.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "geometry/constants.h"
#include "outline/flank_profile.h"
#include "outline/point.h"
#include "outline/root_arc.h"

namespace kellvor {

// One turned tooth: its polyline in visiting order (profile point N-1 first) and its root arc.
struct OutlineTooth {
    std::int32_t index = 0;  // k, from 0
    double angle = 0;        // clockwise turn of this tooth in degrees, accumulated by addition
    std::vector<Point2> polyline;           // the N turned points (reused from tooth to tooth)
    double arcCentreX = 0, arcCentreY = 0;  // root arc centre turned with the tooth
    double arcRadius = 0;
    double arcStartAngle = 0;  // degrees ccw from +x; the arc runs ccw from start to end
    double arcEndAngle = 0;
    bool arcClockwise = false;  // the contour runs along the arc from its end to its start (the
                                // root circle about the gear centre), else from start to end

    // N, the number of points.
    std::int32_t pointCount() const { return static_cast<std::int32_t>(polyline.size()); }
    // The N turned points in visiting order.
    std::span<const Point2> points() const { return polyline; }
};

// Start and end of a root arc in degrees ccw from +x; the arc runs ccw from start to end.
struct ArcAngles {
    double start = 0;
    double end = 0;
};

// An arc angle brought into the drawing's range: below 0 (or NaN) gets 360 added once.
double normaliseArcAngle(double degrees);

// The directions (atan2, degrees) from centre to a and to b, ordered so that the ccw arc from
// start to end contains the direction throughDegrees; not normalised.
ArcAngles arcThroughDirection(Point2 centre, Point2 a, Point2 b, double throughDegrees);

// Arc angles of the first gap (centre of the fitted circle, P1 = profile point 0, P0 = the next
// tooth's first point, pitch angle in degrees): the case rules, replaced by the true directions
// ordered through the root point where the rules miss them; normalised.
ArcAngles firstToothArcAngles(Point2 centre, Point2 p1, Point2 p0, double pitchAngle);

// Receives each tooth as soon as it is built; returning false stops the walk early.
using ToothConsumer = std::function<bool(const OutlineTooth&)>;

// Walks the z teeth in order, handing each to consume, with the arc closing the first gap (the
// fitted circle, or the root circle about the gear centre when arc.clockwise) turned with each
// tooth. Returns the number of teeth handed on.
std::int64_t walkGearOutline(const FlankProfile& profile, const RootArc& arc, std::int32_t z,
                             const ToothConsumer& consume);

}  // namespace kellvor
