#include "outline/pair_placement.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/constants.h"
#include "outline/contour.h"
#include "outline/outline_check.h"

namespace kellvor {
namespace {

constexpr double kTwoPi = 6.283185307179586;

double wrapTwoPi(double a) {
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

// Whether the direction d (radians) lies on the ccw sweep from direction from to direction to.
bool onSweep(double from, double to, double d) {
    return wrapTwoPi(d - from) <= wrapTwoPi(to - from);
}

// Distance of the origin from the segment ab.
double originToSegment(Point2 a, Point2 b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    if (lengthSquared == 0)
        return std::hypot(a.x, a.y);
    const double t = std::clamp(-(a.x * dx + a.y * dy) / lengthSquared, 0.0, 1.0);
    return std::hypot(a.x + t * dx, a.y + t * dy);
}

}  // namespace

RigidMotion rigidMotion(double degrees, Point2 offset) {
    const double rad = degrees * kDegToRad;
    return RigidMotion{std::cos(rad), std::sin(rad), degrees, offset};
}

Point2 apply(const RigidMotion& m, Point2 p) {
    return Point2{m.c * p.x - m.s * p.y + m.offset.x, m.s * p.x + m.c * p.y + m.offset.y};
}

double applyToAngle(const RigidMotion& m, double degrees) {
    const double turned = degrees + m.degrees;
    return turned - 360.0 * std::floor(turned / 360.0);
}

void placeTooth(const RigidMotion& m, OutlineTooth& tooth) {
    for (Point2& p : tooth.polyline)
        p = apply(m, p);
    const Point2 centre = apply(m, Point2{tooth.arcCentreX, tooth.arcCentreY});
    tooth.arcCentreX = centre.x;
    tooth.arcCentreY = centre.y;
    tooth.arcStartAngle = applyToAngle(m, tooth.arcStartAngle);
    tooth.arcEndAngle = applyToAngle(m, tooth.arcEndAngle);
}

RigidMotion gear2Placement(double a, std::int32_t z2) {
    return rigidMotion(180.0 + 180.0 / z2, Point2{0.0, a});
}

LineOfAction lineOfAction(double rb1, double rb2, double a, double alphawt) {
    // The common tangent of the base circles that gear 1 pushes along when it turns ccw: it
    // leans by alphawt from the normal of the line of centres, and a cos(alphawt) = rb1 + rb2.
    const double s = std::sin(alphawt);
    const double c = std::cos(alphawt);
    return LineOfAction{Point2{rb1 * s, rb1 * c}, Point2{0.0 - rb2 * s, a - rb2 * c}};
}

OutlineReach outlineReach(const GearOutline& outline) {
    const std::vector<ContourElement> tooth =
        outlineElements(outline.profile, outline.arc, outline.z, 0, 1);
    OutlineReach reach{HUGE_VAL, 0.0};
    for (const ContourElement& e : tooth) {
        const double toStart = std::hypot(e.start.x, e.start.y);
        const double toEnd = std::hypot(e.end.x, e.end.y);
        reach.max = std::max({reach.max, toStart, toEnd});
        if (!e.isArc) {
            reach.min = std::min(reach.min, originToSegment(e.start, e.end));
            continue;
        }
        reach.min = std::min({reach.min, toStart, toEnd});
        // On the arc's circle the distance from the gear centre is extreme on the line through
        // both centres; those points count where the arc runs through them.
        const double d = std::hypot(e.centre.x, e.centre.y);
        const double away = std::atan2(e.centre.y, e.centre.x);
        const double from = std::atan2(e.start.y - e.centre.y, e.start.x - e.centre.x);
        const double to = std::atan2(e.end.y - e.centre.y, e.end.x - e.centre.x);
        const double lo = e.ccw ? from : to;
        const double hi = e.ccw ? to : from;
        if (onSweep(lo, hi, away))
            reach.max = std::max(reach.max, d + e.radius);
        if (onSweep(lo, hi, away + kPi))
            reach.min = std::min(reach.min, std::fabs(d - e.radius));
    }
    return reach;
}

double reachAngle(double reach, double otherReach, double a) {
    // A point at radius r and angle psi is within otherReach of the other centre where
    // cos(psi) >= f(r) = (r^2 + a^2 - otherReach^2) / (2 r a); f is smallest at r = reach or
    // where f' = 0, r = sqrt(a^2 - otherReach^2).
    const double nearest = a - otherReach;
    if (nearest > reach)
        return 0;
    const auto f = [&](double r) {
        return (r * r + a * a - otherReach * otherReach) / (2 * r * a);
    };
    double least = f(reach);
    const double turning = std::sqrt(std::max(0.0, a * a - otherReach * otherReach));
    if (turning > std::max(nearest, 0.0) && turning < reach)
        least = std::min(least, f(turning));
    return std::acos(std::clamp(least, -1.0, 1.0));
}

}  // namespace kellvor
