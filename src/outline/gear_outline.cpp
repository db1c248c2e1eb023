#include "outline/gear_outline.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kellvor {
namespace {

// Two directions closer than this (degrees) are the same direction; the case rules and atan2
// agree to about 1e-13 degrees where the rules hold, and miss by far more where they do not.
constexpr double kDirectionTolerance = 1e-9;

double atanDeg(double v) {
    return std::atan(v) * kRadToDeg;
}

double directionDeg(Point2 from, Point2 to) {
    return std::atan2(to.y - from.y, to.x - from.x) * kRadToDeg;
}

// Angle brought into [0, 360).
double wrap360(double degrees) {
    return degrees - 360.0 * std::floor(degrees / 360.0);
}

bool sameDirection(double a, double b) {
    return std::fabs(std::remainder(a - b, 360.0)) <= kDirectionTolerance;
}

// Whether the ccw arc from start to end contains the direction d.
bool ccwArcContains(double start, double end, double d) {
    return wrap360(d - start) <= wrap360(end - start);
}

// The case rules of the first gap. Written with the principal arc tangent, they give the true
// directions of P1 and P0 from the centre as long as P1 lies left of the centre and P0 below it
// (case A1) or right of it (A2, B): the arrangement of every ordinary gap.
ArcAngles caseRuleAngles(Point2 c, Point2 p1, Point2 p0) {
    const double cx = c.x, cy = c.y, x0 = p1.x, y0 = p1.y, xe = p0.x, ye = p0.y;
    if (!(cy >= y0))  // case B, also when a value is not a number
        return {180 - atanDeg((y0 - cy) / (cx - x0)), atanDeg((ye - cy) / (xe - cx))};
    const double start = atanDeg((cy - y0) / (cx - x0)) + 180;
    if (cx > xe)  // case A1
        return {start, 270 - atanDeg((cx - xe) / (cy - ye))};
    return {start, 360 - atanDeg((cy - ye) / (xe - cx))};  // case A2
}

}  // namespace

double normaliseArcAngle(double degrees) {
    if (degrees < 0 || std::isnan(degrees))
        return degrees + 360;
    return degrees;
}

ArcAngles arcThroughDirection(Point2 centre, Point2 a, Point2 b, double throughDegrees) {
    const double da = directionDeg(centre, a);
    const double db = directionDeg(centre, b);
    if (ccwArcContains(da, db, throughDegrees))
        return {da, db};
    return {db, da};
}

ArcAngles firstToothArcAngles(Point2 centre, Point2 p1, Point2 p0, double pitchAngle) {
    ArcAngles angles = caseRuleAngles(centre, p1, p0);

    // P1 and P0 are mirror images across the gap's centre line (polar angle 90 - tau/2), so the
    // fitted circle is centred on that line and the root point is one of its two crossings with
    // it. The farther crossing lies at least as far from the gear centre as the flank ends (the
    // circle passes through them), while the root radius is below the start radius of the flank
    // (by at least 0.2 mt), so the root point is the nearer crossing: inwards along the line when
    // the circle's centre lies on the gap's side of the gear centre, outwards otherwise.
    const double half = pitchAngle * 0.5 * kDegToRad;
    const double along = centre.x * std::sin(half) + centre.y * std::cos(half);
    const double gapDirection = 90 - pitchAngle * 0.5;
    const double rootDirection = along >= 0 ? gapDirection + 180 : gapDirection;

    const bool rulesHold = sameDirection(angles.start, directionDeg(centre, p1)) &&
                           sameDirection(angles.end, directionDeg(centre, p0)) &&
                           ccwArcContains(angles.start, angles.end, rootDirection);
    if (!rulesHold)
        angles = arcThroughDirection(centre, p1, p0, rootDirection);
    return {normaliseArcAngle(angles.start), normaliseArcAngle(angles.end)};
}

std::int64_t walkGearOutline(const FlankProfile& profile, const RootArc& arc, std::int32_t z,
                             const ToothConsumer& consume) {
    if (z <= 0)
        return 0;
    const double tau = 360.0 / z;
    const Point2 centre{arc.centreX, arc.centreY};
    const std::int32_t n = profile.count();
    const Point2 p1 = profile.points[0];
    const Point2 p0 = nextToothFlankEnd(profile, tau);

    // One tooth is built, handed on and overwritten by the next: memory stays flat in z1.
    OutlineTooth tooth;
    tooth.polyline.resize(static_cast<std::size_t>(n));
    tooth.arcRadius = arc.radius;
    tooth.arcClockwise = arc.clockwise;
    ArcAngles angles;
    double phi = 0.0;
    std::int64_t handed = 0;
    for (std::int32_t k = 0; k < z; ++k) {
        const Rotation rot = clockwiseRotation(phi);
        // Visiting order: from profile point N-1 up the second flank, over the tip and down the
        // first flank to point 0, so that the contour runs clockwise.
        for (std::int32_t i = 0; i < n; ++i) {
            tooth.polyline[static_cast<std::size_t>(i)] =
                turn(rot, profile.points[static_cast<std::size_t>(n - 1 - i)]);
        }
        const Point2 turnedCentre = turn(rot, centre);
        tooth.arcCentreX = turnedCentre.x;
        tooth.arcCentreY = turnedCentre.y;

        // Each later gap is the previous one turned clockwise by one pitch. The root circle about
        // the gear centre runs ccw from the next tooth's first point to this tooth's last: the
        // short arc under the rack's tip land.
        if (k == 0) {
            angles = arc.clockwise ? ArcAngles{normaliseArcAngle(directionDeg(centre, p0)),
                                               normaliseArcAngle(directionDeg(centre, p1))}
                                   : firstToothArcAngles(centre, p1, p0, tau);
        } else {
            angles = {normaliseArcAngle(angles.start - tau), normaliseArcAngle(angles.end - tau)};
        }
        tooth.arcStartAngle = angles.start;
        tooth.arcEndAngle = angles.end;
        tooth.index = k;
        tooth.angle = phi;

        ++handed;
        if (consume && !consume(tooth))
            break;
        // Accumulated by addition, as the drawing has always been built; not k * tau.
        phi = phi + tau;
    }
    return handed;
}

}  // namespace kellvor
