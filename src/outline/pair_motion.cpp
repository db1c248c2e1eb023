#include "outline/pair_motion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include <boost/geometry/algorithms/area.hpp>
#include <boost/geometry/algorithms/correct.hpp>
#include <boost/geometry/algorithms/intersection.hpp>
#include <boost/geometry/algorithms/is_valid.hpp>
#include <boost/geometry/core/exception.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>

#include "geometry/constants.h"
#include "outline/contour.h"
#include "outline/outline_check.h"

namespace kellvor {
namespace {

namespace bg = boost::geometry;
using BgPoint = bg::model::d2::point_xy<double>;
using BgPolygon = bg::model::polygon<BgPoint>;
using BgMultiPolygon = bg::model::multi_polygon<BgPolygon>;

constexpr double kTwoPi = 6.283185307179586;
// Penetration that counts as touching, times mn (as in the mesh check).
constexpr double kTouchingFactor = 1e-9;
// Largest distance of a root arc's polygon from the arc, times mn.
constexpr double kChordFactor = 1e-5;
// Most straight pieces for one root arc.
constexpr int kMaxArcPieces = 256;

double wrapTwoPi(double a) {
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

// The teeth whose centre lines stand at base - k tau degrees from the direction of the other
// gear and that reach within psi degrees of it: tooth k with its gap spans the angles from its
// centre line less a pitch (the gap lies clockwise) to half a pitch more. One tooth more on
// each side keeps rounding harmless.
ToothRun runAbout(double base, double tau, double psi, std::int32_t z) {
    const double first = std::ceil((base - psi - tau) / tau) - 1;
    const double last = std::floor((base + psi + 0.5 * tau) / tau) + 1;
    const double count = last - first + 1;
    if (!(count < z))
        return ToothRun{0, z};
    const double wrapped = first - z * std::floor(first / z);
    return ToothRun{static_cast<std::int32_t>(wrapped), static_cast<std::int32_t>(count)};
}

// A ccw piece of a root arc: from angle `from` about centre over sweep radians to the point end.
struct ArcPiece {
    Point2 centre;
    double radius = 0;
    double from = 0;
    double sweep = 0;
    Point2 end;
};

// Appends the piece's points after its start up to its end, as a polygon on the material's
// side: the corners of the arc's tangents where the material lies outside the arc's circle,
// points of the circle where it lies inside, so that the polygon never holds more than the
// drawn gear (whose centre is the origin).
void appendArc(const ArcPiece& arc, double chord, std::vector<Point2>& out) {
    const double r = arc.radius;
    const double step = r > chord ? 2 * std::acos(1 - chord / r) : kPi / 2;
    const int pieces = std::clamp(static_cast<int>(std::ceil(arc.sweep / step)), 1, kMaxArcPieces);
    const double delta = arc.sweep / pieces;
    const bool outside = std::hypot(arc.centre.x, arc.centre.y) > r;
    if (outside) {
        const double corner = r / std::cos(0.5 * delta);
        for (int i = 0; i < pieces; ++i) {
            const double t = arc.from + (i + 0.5) * delta;
            out.push_back(
                Point2{arc.centre.x + corner * std::cos(t), arc.centre.y + corner * std::sin(t)});
        }
    } else {
        for (int i = 1; i < pieces; ++i) {
            const double t = arc.from + i * delta;
            out.push_back(Point2{arc.centre.x + r * std::cos(t), arc.centre.y + r * std::sin(t)});
        }
    }
    out.push_back(arc.end);
}

// The root arc of an outline (ccw from start to end) split at its point nearest to the gear
// centre, the root point mid-gap: the part before and the part after it. A straight line from
// the root point to the gear centre crosses nothing of the outline, which lies at least as far
// out. Nothing when the nearest point of the circle is not on the arc.
std::optional<std::pair<ArcPiece, ArcPiece>> splitAtRoot(const ContourElement& arc) {
    const Point2 c = arc.centre;
    const double d = std::hypot(c.x, c.y);
    const double from = std::atan2(arc.start.y - c.y, arc.start.x - c.x);
    const double to = std::atan2(arc.end.y - c.y, arc.end.x - c.x);
    const double sweep = wrapTwoPi(to - from);
    // The circle comes nearest to the origin on the line through both centres.
    const double toward = d > arc.radius ? std::atan2(-c.y, -c.x) : std::atan2(c.y, c.x);
    const double before = wrapTwoPi(toward - from);
    if (!(d > 0) || !(before < sweep))
        return std::nullopt;
    const Point2 root{c.x + arc.radius * std::cos(toward), c.y + arc.radius * std::sin(toward)};
    return std::pair{ArcPiece{c, arc.radius, from, before, root},
                     ArcPiece{c, arc.radius, toward, sweep - before, arc.end}};
}

ArcPiece wholeArc(const ContourElement& arc) {
    const double from = std::atan2(arc.start.y - arc.centre.y, arc.start.x - arc.centre.x);
    const double to = std::atan2(arc.end.y - arc.centre.y, arc.end.x - arc.centre.x);
    return ArcPiece{arc.centre, arc.radius, from, wrapTwoPi(to - from), arc.end};
}

// The material of the run's teeth placed by place: the whole outline when the run is the whole
// gear, otherwise a wedge from the gear's centre to the root point of the gap before the run,
// over the run's outline to the root point of its last gap and back to the centre. Nothing
// when a root arc does not pass its root point.
std::optional<BgPolygon> gearRegion(const GearOutline& gear, ToothRun run, const RigidMotion& place,
                                    double chord) {
    std::vector<Point2> own;
    if (run.count >= gear.z) {
        const std::vector<ContourElement> elements =
            outlineElements(gear.profile, gear.arc, gear.z, 0, gear.z);
        for (const ContourElement& e : elements) {
            if (e.isArc)
                appendArc(wholeArc(e), chord, own);
            else
                own.push_back(e.end);
        }
    } else {
        // The tooth before the run contributes the second half of its gap's root arc.
        const std::vector<ContourElement> elements =
            outlineElements(gear.profile, gear.arc, gear.z, run.first - 1, run.count + 1);
        const std::size_t n = elements.size() / static_cast<std::size_t>(run.count + 1);
        own.push_back(Point2{0.0, 0.0});
        const auto first = splitAtRoot(elements[n - 1]);
        const auto last = splitAtRoot(elements.back());
        if (!first || !last)
            return std::nullopt;
        own.push_back(first->first.end);
        appendArc(first->second, chord, own);
        for (std::size_t i = n; i + 1 < elements.size(); ++i) {
            if (elements[i].isArc)
                appendArc(wholeArc(elements[i]), chord, own);
            else
                own.push_back(elements[i].end);
        }
        appendArc(last->first, chord, own);
    }
    BgPolygon polygon;
    auto& ring = polygon.outer();
    for (const Point2 p : own) {
        const Point2 q = apply(place, p);
        // A tip land without length repeats a point.
        if (!ring.empty() && ring.back().x() == q.x && ring.back().y() == q.y)
            continue;
        ring.emplace_back(q.x, q.y);
    }
    bg::correct(polygon);
    return polygon;
}

}  // namespace

PairPose pairPose(double a, std::int32_t z1, std::int32_t z2, double phi1Degrees) {
    const double turn2 = 180.0 + 180.0 / z2 - phi1Degrees * z1 / z2;
    return PairPose{rigidMotion(phi1Degrees, Point2{0.0, 0.0}), rigidMotion(turn2, Point2{0.0, a})};
}

PairMotion preparePairMotion(const GearOutline& gear1, const GearOutline& gear2, double a,
                             double mn, const LineOfAction& line) {
    PairMotion m;
    m.gear1 = gear1;
    m.gear2 = gear2;
    m.a = a;
    m.mn = mn;
    m.line = line;
    m.reach1 = outlineReach(gear1).max;
    m.reach2 = outlineReach(gear2).max;
    m.nearAngle1 = reachAngle(m.reach1, m.reach2, a);
    m.nearAngle2 = reachAngle(m.reach2, m.reach1, a);
    return m;
}

std::optional<Segment2> pathOfContact(const PairMotion& motion) {
    const Point2 t1 = motion.line.t1;
    const Point2 d{motion.line.t2.x - t1.x, motion.line.t2.y - t1.y};
    const double dd = d.x * d.x + d.y * d.y;
    if (!(dd > 0))
        return std::nullopt;
    double lo = 0;
    double hi = 1;
    // The line t1 + s d lies within radius of centre for s between the roots of
    // |t1 - centre + s d|^2 = radius^2.
    const auto clip = [&](Point2 centre, double radius) {
        const Point2 f{t1.x - centre.x, t1.y - centre.y};
        const double half = (f.x * d.x + f.y * d.y) / dd;
        const double disc = half * half - (f.x * f.x + f.y * f.y - radius * radius) / dd;
        if (!(disc >= 0)) {
            hi = -1;
            return;
        }
        const double root = std::sqrt(disc);
        lo = std::max(lo, -half - root);
        hi = std::min(hi, -half + root);
    };
    clip(Point2{0.0, 0.0}, motion.reach1);
    clip(Point2{0.0, motion.a}, motion.reach2);
    if (!(lo <= hi))
        return std::nullopt;
    return Segment2{Point2{t1.x + lo * d.x, t1.y + lo * d.y},
                    Point2{t1.x + hi * d.x, t1.y + hi * d.y}};
}

NearTeeth nearTeeth(const PairMotion& motion, double phi1Degrees) {
    const std::int32_t z1 = motion.gear1.z;
    const std::int32_t z2 = motion.gear2.z;
    NearTeeth near;
    near.gear1 = runAbout(phi1Degrees, 360.0 / z1, motion.nearAngle1 * kRadToDeg, z1);
    // Gear 2's tooth 0 stands half a pitch ccw of the line of centres at phi1 = 0 and turns
    // clockwise with the ratio.
    const double base2 = 180.0 / z2 - phi1Degrees * z1 / z2;
    near.gear2 = runAbout(base2, 360.0 / z2, motion.nearAngle2 * kRadToDeg, z2);
    return near;
}

std::vector<Point2> contactPoints(const PairMotion& motion, double phi1Degrees) {
    std::vector<Point2> points;
    const std::optional<Segment2> path = pathOfContact(motion);
    if (!path)
        return points;
    const GearOutline& g = motion.gear1;
    const ToothRun run = nearTeeth(motion, phi1Degrees).gear1;
    const std::vector<ContourElement> elements =
        outlineElements(g.profile, g.arc, g.z, run.first, run.count);
    const PairPose pose = pairPose(motion.a, motion.gear1.z, motion.gear2.z, phi1Degrees);
    const ContourElement line = segmentElement(path->a, path->b);
    const double tolerance = kTouchingFactor * motion.mn;
    // Each tooth walks up its leading flank first: the first half of its points less one
    // segment, then the tip land, the other flank and the root arc (n elements per tooth).
    const std::size_t n = static_cast<std::size_t>(g.profile.count());
    const std::size_t leading = n / 2 - 1;
    for (std::size_t tooth = 0; tooth + n <= elements.size(); tooth += n) {
        for (std::size_t i = 0; i < leading; ++i) {
            const ContourElement& e = elements[tooth + i];
            const ElementMeeting meeting =
                meetElements(segmentElement(apply(pose.gear1, e.start), apply(pose.gear1, e.end)),
                             line, tolerance);
            for (std::size_t j = 0; j < meeting.count; ++j)
                points.push_back(meeting.points[j]);
        }
    }
    const auto along = [&](Point2 p) { return std::hypot(p.x - path->a.x, p.y - path->a.y); };
    std::sort(points.begin(), points.end(),
              [&](Point2 p, Point2 q) { return along(p) < along(q); });
    // A crossing at the point two segments share is found by both.
    const double same = 1e-6 * motion.mn;
    points.erase(
        std::unique(points.begin(), points.end(),
                    [&](Point2 p, Point2 q) { return std::hypot(p.x - q.x, p.y - q.y) <= same; }),
        points.end());
    return points;
}

std::vector<Ring> toothOverlaps(const PairMotion& motion, double phi1Degrees) {
    std::vector<Ring> rings;
    const NearTeeth near = nearTeeth(motion, phi1Degrees);
    const PairPose pose = pairPose(motion.a, motion.gear1.z, motion.gear2.z, phi1Degrees);
    const double chord = kChordFactor * motion.mn;
    const std::optional<BgPolygon> one = gearRegion(motion.gear1, near.gear1, pose.gear1, chord);
    const std::optional<BgPolygon> two = gearRegion(motion.gear2, near.gear2, pose.gear2, chord);
    if (!one || !two || !bg::is_valid(*one) || !bg::is_valid(*two))
        return rings;
    BgMultiPolygon overlap;
    try {
        bg::intersection(*one, *two, overlap);
    } catch (const bg::exception&) {
        return rings;
    }
    // Slivers thinner than the touching tolerance along a tooth are touching, not overlapping.
    const double least = kTouchingFactor * motion.mn * motion.mn;
    for (const BgPolygon& p : overlap) {
        if (!(std::fabs(bg::area(p)) > least))
            continue;
        Ring ring;
        for (const BgPoint& q : p.outer())
            ring.push_back(Point2{q.x(), q.y()});
        if (ring.size() > 1)
            ring.pop_back();  // the closing point repeats the first
        rings.push_back(std::move(ring));
    }
    return rings;
}

}  // namespace kellvor
