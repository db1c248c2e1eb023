#include "outline/mesh_sweep.h"

#include <algorithm>
#include <cmath>

#include <boost/geometry/algorithms/intersects.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/segment.hpp>

#include "geometry/constants.h"
#include "outline/contour.h"

namespace kellvor {
namespace {

namespace bg = boost::geometry;
using BgPoint = bg::model::d2::point_xy<double>;
using BgSegment = bg::model::segment<BgPoint>;

// How far beyond its ends (as a fraction of its length) a segment still counts for a contact:
// a turn too many only splits an interval once more, a turn too few could hide a crossing.
constexpr double kEndSlack = 1e-9;

double dot(Point2 a, Point2 b) {
    return a.x * b.x + a.y * b.y;
}

double cross(Point2 a, Point2 b) {
    return a.x * b.y - a.y * b.x;
}

// Lengths here are far from overflow, and hypot's extra care costs a sixth of the check.
double norm(Point2 p) {
    return std::sqrt(p.x * p.x + p.y * p.y);
}

// The ccw turn about the pivot that takes direction from onto direction to.
double turnBetween(Point2 from, Point2 to) {
    return std::atan2(cross(from, to), dot(from, to));
}

// Polar angle about the pivot, measured ccw from -y (the direction of gear 1's centre), so that
// everything near the mesh lies far from the cut at +-pi.
double polarFromBelow(Point2 p) {
    return std::atan2(p.x, -p.y);
}

// Distance of the pivot from the segment ab.
double pivotToSegment(Point2 a, Point2 b) {
    const Point2 d{b.x - a.x, b.y - a.y};
    const double lengthSquared = dot(d, d);
    if (lengthSquared == 0)
        return norm(a);
    const double t = std::clamp(-dot(a, d) / lengthSquared, 0.0, 1.0);
    return norm(Point2{a.x + t * d.x, a.y + t * d.y});
}

// The points at distance rho from the pivot on the line p + t (q - p), t within the segment
// (and the slack), handed to take. The roots are taken in the form that does not cancel.
template <typename Take>
void circleOnLine(double rho, Point2 p, Point2 q, Take take) {
    const Point2 d{q.x - p.x, q.y - p.y};
    const double a = dot(d, d);
    if (a == 0)
        return;
    const double b = dot(p, d);
    const double c = dot(p, p) - rho * rho;
    const double disc = b * b - a * c;
    if (disc < 0)
        return;
    const double root = std::sqrt(disc);
    const double qq = -(b + (b < 0 ? -root : root));
    double ts[2] = {0, 0};
    int n = 0;
    if (qq != 0) {
        ts[n++] = qq / a;
        ts[n++] = c / qq;
    } else {
        ts[n++] = 0;  // b = 0 and disc = 0: the line touches the circle at its foot point
    }
    for (int i = 0; i < n; ++i) {
        const double t = ts[i];
        if (t >= -kEndSlack && t <= 1 + kEndSlack)
            take(Point2{p.x + t * d.x, p.y + t * d.y});
    }
}

// The points at distance rho from the pivot and r from centre, handed to take.
template <typename Take>
void circleOnCircle(double rho, Point2 centre, double r, Take take) {
    const double d = norm(centre);
    if (d == 0)
        return;
    // Distance along the line of centres from the pivot, and half the common chord.
    const double along = ((rho - r) * (rho + r) + d * d) / (2 * d);
    const double hSquared = (rho - along) * (rho + along);
    if (hSquared < 0)
        return;
    const double h = std::sqrt(hSquared);
    const Point2 u{centre.x / d, centre.y / d};
    take(Point2{along * u.x - h * u.y, along * u.y + h * u.x});
    if (h > 0)
        take(Point2{along * u.x + h * u.y, along * u.y - h * u.x});
}

// The segment's line moved sideways by offset along its left normal.
void shiftedLine(const SweepElement& s, double offset, Point2& p, Point2& q) {
    const Point2 d{s.b.x - s.a.x, s.b.y - s.a.y};
    const double length = norm(d);
    const Point2 n{-d.y / length * offset, d.x / length * offset};
    p = Point2{s.a.x + n.x, s.a.y + n.y};
    q = Point2{s.b.x + n.x, s.b.y + n.y};
}

void setBounds(SweepElement& e) {
    if (e.isArc) {
        const double d = norm(e.centre);
        e.rhoMin = std::max(0.0, d - e.radius);
        e.rhoMax = d + e.radius;
        if (d > e.radius) {
            const double middle = polarFromBelow(e.centre);
            const double half = std::asin(e.radius / d);
            e.thetaMin = middle - half;
            e.thetaMax = middle + half;
        } else {
            e.thetaMin = -kPi;
            e.thetaMax = kPi;
        }
    } else {
        e.rhoMin = pivotToSegment(e.a, e.b);
        e.rhoMax = std::max(norm(e.a), norm(e.b));
        const double ta = polarFromBelow(e.a);
        const double tb = polarFromBelow(e.b);
        e.thetaMin = std::min(ta, tb);
        e.thetaMax = std::max(ta, tb);
    }
    // A range across the cut at +-pi (behind the pivot) is not told apart: all of it.
    if (e.thetaMin < -kPi || e.thetaMax > kPi || e.thetaMax - e.thetaMin > kPi) {
        e.thetaMin = -kPi;
        e.thetaMax = kPi;
    }
}

Point2 rotated(Point2 p, double c, double s) {
    return Point2{c * p.x - s * p.y, s * p.x + c * p.y};
}

ContourElement contourOf(const SweepElement& e) {
    return e.isArc ? arcElement(e.centre, e.radius, e.a, e.b, true) : segmentElement(e.a, e.b);
}

}  // namespace

SweepElement sweepSegment(Point2 a, Point2 b) {
    SweepElement e;
    e.a = a;
    e.b = b;
    setBounds(e);
    return e;
}

SweepElement sweepArc(Point2 centre, double radius, Point2 a, Point2 b) {
    SweepElement e;
    e.isArc = true;
    e.a = a;
    e.b = b;
    e.centre = centre;
    e.radius = radius;
    setBounds(e);
    return e;
}

void appendContactTurns(const SweepElement& fixed, const SweepElement& moving,
                        std::vector<double>& turns) {
    // An end u of the moving element runs on the circle |u| about the pivot: it meets the fixed
    // element where that circle crosses it.
    for (const Point2 u : {moving.a, moving.b}) {
        const auto take = [&](Point2 w) { turns.push_back(turnBetween(u, w)); };
        if (fixed.isArc)
            circleOnCircle(norm(u), fixed.centre, fixed.radius, take);
        else
            circleOnLine(norm(u), fixed.a, fixed.b, take);
    }
    // Seen from the moving element, an end v of the fixed one turns the other way.
    for (const Point2 v : {fixed.a, fixed.b}) {
        const auto take = [&](Point2 w) { turns.push_back(turnBetween(w, v)); };
        if (moving.isArc)
            circleOnCircle(norm(v), moving.centre, moving.radius, take);
        else
            circleOnLine(norm(v), moving.a, moving.b, take);
    }
    // An arc starts or stops crossing the other element also where it touches it inside: its
    // centre then lies one radius from the other's line, or radii summed or apart from the
    // other's centre.
    if (moving.isArc && fixed.isArc) {
        const Point2 cu = moving.centre;
        const auto take = [&](Point2 w) { turns.push_back(turnBetween(cu, w)); };
        circleOnCircle(norm(cu), fixed.centre, fixed.radius + moving.radius, take);
        circleOnCircle(norm(cu), fixed.centre, std::fabs(fixed.radius - moving.radius), take);
    } else if (moving.isArc) {
        const Point2 cu = moving.centre;
        const auto take = [&](Point2 w) { turns.push_back(turnBetween(cu, w)); };
        for (const double side : {-moving.radius, moving.radius}) {
            Point2 p, q;
            shiftedLine(fixed, side, p, q);
            circleOnLine(norm(cu), p, q, take);
        }
    } else if (fixed.isArc) {
        const Point2 cv = fixed.centre;
        const auto take = [&](Point2 w) { turns.push_back(turnBetween(w, cv)); };
        for (const double side : {-fixed.radius, fixed.radius}) {
            Point2 p, q;
            shiftedLine(moving, side, p, q);
            circleOnLine(norm(cv), p, q, take);
        }
    }
}

bool meetAtTurn(const SweepElement& fixed, const SweepElement& moving, double d) {
    const double c = std::cos(d);
    const double s = std::sin(d);
    SweepElement m = moving;
    m.a = rotated(moving.a, c, s);
    m.b = rotated(moving.b, c, s);
    m.centre = rotated(moving.centre, c, s);
    if (!fixed.isArc && !m.isArc) {
        // Two segments: Boost.Geometry's robust side tests, collinear and touching cases included.
        const BgSegment f{BgPoint{fixed.a.x, fixed.a.y}, BgPoint{fixed.b.x, fixed.b.y}};
        const BgSegment g{BgPoint{m.a.x, m.a.y}, BgPoint{m.b.x, m.b.y}};
        return bg::intersects(f, g);
    }
    return meetElements(contourOf(fixed), contourOf(m), 0.0).count > 0;
}

}  // namespace kellvor
