#include "outline/contour.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kellvor {
namespace {

Point2 minus(Point2 a, Point2 b) {
    return {a.x - b.x, a.y - b.y};
}

Point2 plus(Point2 a, Point2 b) {
    return {a.x + b.x, a.y + b.y};
}

Point2 scaled(Point2 a, double f) {
    return {a.x * f, a.y * f};
}

double dot(Point2 a, Point2 b) {
    return a.x * b.x + a.y * b.y;
}

double cross(Point2 a, Point2 b) {
    return a.x * b.y - a.y * b.x;
}

double distance(Point2 a, Point2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

constexpr double kTwoPi = 6.283185307179586;

double wrapTwoPi(double a) {
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

double direction(Point2 centre, Point2 p) {
    return std::atan2(p.y - centre.y, p.x - centre.x);
}

// Angle swept from start to end in the arc's own sense, in [0, 2 pi).
double sweepOf(const ContourElement& arc) {
    const double delta = direction(arc.centre, arc.end) - direction(arc.centre, arc.start);
    return wrapTwoPi(arc.ccw ? delta : -delta);
}

// Whether a point of the arc's circle lies on the arc, within an angle of tolerance / radius
// beyond either end.
bool withinSweep(const ContourElement& arc, Point2 p, double tolerance) {
    const double slack = arc.radius > 0 ? tolerance / arc.radius : 0;
    const double delta = direction(arc.centre, p) - direction(arc.centre, arc.start);
    const double from = wrapTwoPi(arc.ccw ? delta : -delta);
    const double sweep = sweepOf(arc);
    return from <= sweep + slack || from >= kTwoPi - slack;
}

// Whether a point of the segment's line lies on the segment, within tolerance beyond its ends.
bool withinSegment(const ContourElement& s, Point2 p, double tolerance) {
    const Point2 d = minus(s.end, s.start);
    const double length = std::hypot(d.x, d.y);
    if (length == 0)
        return distance(p, s.start) <= tolerance;
    const double along = dot(minus(p, s.start), d) / length;
    return along >= -tolerance && along <= length + tolerance;
}

void add(ElementMeeting& m, Point2 p) {
    if (m.count < m.points.size())
        m.points[m.count++] = p;
}

ElementMeeting meetSegments(const ContourElement& a, const ContourElement& b, double tolerance) {
    ElementMeeting m;
    const Point2 d1 = minus(a.end, a.start);
    const Point2 d2 = minus(b.end, b.start);
    const double l1 = std::hypot(d1.x, d1.y);
    const double l2 = std::hypot(d2.x, d2.y);
    if (l1 == 0 || l2 == 0) {
        // A point against a segment (or a point).
        const ContourElement& point = l1 == 0 ? a : b;
        const ContourElement& other = l1 == 0 ? b : a;
        if (onElement(other, point.start, tolerance))
            add(m, point.start);
        return m;
    }
    const double denom = cross(d1, d2);
    const Point2 w = minus(b.start, a.start);
    // Parallel when the sine of the angle between them is below the tolerance over the longer.
    if (std::fabs(denom) <= l1 * l2 * (tolerance / std::max(l1, l2))) {
        if (std::fabs(cross(d1, w)) / l1 > tolerance)
            return m;  // parallel, apart
        // Collinear: the common part, as parameters along a.
        const double t0 = dot(w, d1) / (l1 * l1);
        const double t1 = dot(minus(b.end, a.start), d1) / (l1 * l1);
        const double lo = std::max(0.0, std::min(t0, t1));
        const double hi = std::min(1.0, std::max(t0, t1));
        const double slack = tolerance / l1;
        if (lo > hi + slack)
            return m;
        add(m, plus(a.start, scaled(d1, lo)));
        add(m, plus(a.start, scaled(d1, std::max(lo, hi))));
        m.overlap = (hi - lo) * l1 > tolerance;
        return m;
    }
    const double t = cross(w, d2) / denom;
    const double u = cross(w, d1) / denom;
    if (t < -tolerance / l1 || t > 1 + tolerance / l1 || u < -tolerance / l2 ||
        u > 1 + tolerance / l2)
        return m;
    add(m, plus(a.start, scaled(d1, std::clamp(t, 0.0, 1.0))));
    return m;
}

ElementMeeting meetSegmentArc(const ContourElement& s, const ContourElement& arc,
                              double tolerance) {
    ElementMeeting m;
    const Point2 d = minus(s.end, s.start);
    const double length = std::hypot(d.x, d.y);
    if (length == 0) {
        if (onElement(arc, s.start, tolerance))
            add(m, s.start);
        return m;
    }
    const Point2 unit = scaled(d, 1 / length);
    // Foot of the perpendicular from the centre, and the centre's distance from the line.
    const double along = dot(minus(arc.centre, s.start), unit);
    const Point2 foot = plus(s.start, scaled(unit, along));
    const double h = std::fabs(cross(unit, minus(arc.centre, s.start)));
    if (h > arc.radius + tolerance)
        return m;
    const double half = std::sqrt(std::max(0.0, (arc.radius - h) * (arc.radius + h)));
    const Point2 candidates[2] = {plus(foot, scaled(unit, -half)), plus(foot, scaled(unit, half))};
    for (std::size_t i = 0; i < (half > 0 ? 2u : 1u); ++i) {
        const Point2 p = candidates[i];
        if (withinSegment(s, p, tolerance) && withinSweep(arc, p, tolerance))
            add(m, p);
    }
    return m;
}

ElementMeeting meetArcs(const ContourElement& a, const ContourElement& b, double tolerance) {
    ElementMeeting m;
    const double d = distance(a.centre, b.centre);
    if (d <= tolerance && std::fabs(a.radius - b.radius) <= tolerance) {
        // One circle: the arcs meet where either holds an end of the other.
        for (const Point2 p : {b.start, b.end})
            if (withinSweep(a, p, tolerance))
                add(m, p);
        for (const Point2 p : {a.start, a.end})
            if (m.count < 2 && withinSweep(b, p, tolerance))
                add(m, p);
        m.overlap = m.count == 2 && distance(m.points[0], m.points[1]) > tolerance;
        return m;
    }
    if (d == 0 || d > a.radius + b.radius + tolerance ||
        d < std::fabs(a.radius - b.radius) - tolerance)
        return m;
    const Point2 unit = scaled(minus(b.centre, a.centre), 1 / d);
    const double along = (d * d + a.radius * a.radius - b.radius * b.radius) / (2 * d);
    const double half = std::sqrt(std::max(0.0, a.radius * a.radius - along * along));
    const Point2 base = plus(a.centre, scaled(unit, along));
    const Point2 normal{-unit.y, unit.x};
    const Point2 candidates[2] = {plus(base, scaled(normal, half)),
                                  plus(base, scaled(normal, -half))};
    for (std::size_t i = 0; i < (half > 0 ? 2u : 1u); ++i) {
        const Point2 p = candidates[i];
        if (withinSweep(a, p, tolerance) && withinSweep(b, p, tolerance))
            add(m, p);
    }
    return m;
}

struct Box {
    double minX, minY, maxX, maxY;
};

// A box that holds the element, grown by tolerance.
Box boxOf(const ContourElement& e, double tolerance) {
    Box b{std::min(e.start.x, e.end.x), std::min(e.start.y, e.end.y), std::max(e.start.x, e.end.x),
          std::max(e.start.y, e.end.y)};
    if (e.isArc) {
        // An arc reaches beyond its ends only at the circle's extremes that lie on it; the whole
        // circle's box would make a root circle about the gear centre overlap every element.
        const Point2 extremes[4] = {{e.centre.x + e.radius, e.centre.y},
                                    {e.centre.x, e.centre.y + e.radius},
                                    {e.centre.x - e.radius, e.centre.y},
                                    {e.centre.x, e.centre.y - e.radius}};
        for (const Point2 p : extremes) {
            if (withinSweep(e, p, tolerance)) {
                b = {std::min(b.minX, p.x), std::min(b.minY, p.y), std::max(b.maxX, p.x),
                     std::max(b.maxY, p.y)};
            }
        }
    }
    return {b.minX - tolerance, b.minY - tolerance, b.maxX + tolerance, b.maxY + tolerance};
}

bool overlapping(const Box& a, const Box& b) {
    return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

bool degenerate(const ContourElement& e, double tolerance) {
    return distance(e.start, e.end) <= tolerance && (!e.isArc || sweepOf(e) < kTwoPi / 2);
}

}  // namespace

ContourElement segmentElement(Point2 a, Point2 b) {
    ContourElement e;
    e.start = a;
    e.end = b;
    return e;
}

ContourElement arcElement(Point2 centre, double radius, Point2 start, Point2 end, bool ccw) {
    ContourElement e;
    e.isArc = true;
    e.start = start;
    e.end = end;
    e.centre = centre;
    e.radius = radius;
    e.ccw = ccw;
    return e;
}

bool onElement(const ContourElement& e, Point2 p, double tolerance) {
    if (e.isArc)
        return std::fabs(distance(p, e.centre) - e.radius) <= tolerance &&
               withinSweep(e, p, tolerance);
    const Point2 d = minus(e.end, e.start);
    const double length = std::hypot(d.x, d.y);
    if (length == 0)
        return distance(p, e.start) <= tolerance;
    return std::fabs(cross(d, minus(p, e.start))) / length <= tolerance &&
           withinSegment(e, p, tolerance);
}

ElementMeeting meetElements(const ContourElement& a, const ContourElement& b, double tolerance) {
    if (!a.isArc && !b.isArc)
        return meetSegments(a, b, tolerance);
    if (a.isArc && b.isArc)
        return meetArcs(a, b, tolerance);
    return a.isArc ? meetSegmentArc(b, a, tolerance) : meetSegmentArc(a, b, tolerance);
}

namespace {

std::optional<ContourCrossing> findCrossing(std::span<const ContourElement> elements,
                                            double tolerance, bool closed, std::size_t focusBegin,
                                            std::size_t focusEnd) {
    // Elements without length are left out: the elements on either side of one share its end.
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < elements.size(); ++i)
        if (!degenerate(elements[i], tolerance))
            kept.push_back(i);
    const std::size_t n = kept.size();
    std::vector<Box> boxes;
    boxes.reserve(n);
    for (const std::size_t i : kept)
        boxes.push_back(boxOf(elements[i], tolerance));
    const auto inFocus = [&](std::size_t i) { return i >= focusBegin && i < focusEnd; };
    // A meeting this close to the end two neighbours share is that end itself.
    const double shared = 4 * tolerance;
    const auto crossingOf = [&](std::size_t i, std::size_t j) -> std::optional<ContourCrossing> {
        const ContourElement& a = elements[kept[i]];
        const ContourElement& b = elements[kept[j]];
        const ElementMeeting m = meetElements(a, b, tolerance);
        const bool next = j == i + 1;
        const bool wraps = closed && i == 0 && j == n - 1 && n > 2;
        for (std::size_t k = 0; k < m.count; ++k) {
            const Point2 p = m.points[k];
            if (!m.overlap && next && distance(p, a.end) <= shared)
                continue;
            if (!m.overlap && wraps && distance(p, a.start) <= shared)
                continue;
            return ContourCrossing{kept[i], kept[j], p};
        }
        return std::nullopt;
    };

    // Sweep over the boxes from left to right: only pairs whose boxes overlap in x are ever
    // looked at, so a contour of many small elements costs about n log n, not n^2. Of all
    // crossings the one of the earliest pair is reported, as a plain double loop would.
    std::vector<std::size_t> order(n);
    for (std::size_t k = 0; k < n; ++k)
        order[k] = k;
    std::sort(order.begin(), order.end(),
              [&](std::size_t p, std::size_t q) { return boxes[p].minX < boxes[q].minX; });
    std::vector<std::size_t> active;
    std::optional<ContourCrossing> first;
    for (const std::size_t q : order) {
        std::erase_if(active, [&](std::size_t p) { return boxes[p].maxX < boxes[q].minX; });
        for (const std::size_t p : active) {
            const std::size_t i = std::min(p, q);
            const std::size_t j = std::max(p, q);
            if (!overlapping(boxes[i], boxes[j]) || (!inFocus(kept[i]) && !inFocus(kept[j])))
                continue;
            if (first &&
                (kept[i] > first->first || (kept[i] == first->first && kept[j] >= first->second)))
                continue;
            if (auto crossing = crossingOf(i, j))
                first = crossing;
        }
        active.push_back(q);
    }
    return first;
}

}  // namespace

std::optional<ContourCrossing> findContourCrossing(std::span<const ContourElement> closed,
                                                   double tolerance) {
    return findCrossing(closed, tolerance, true, 0, closed.size());
}

std::optional<ContourCrossing> findChainCrossing(std::span<const ContourElement> chain,
                                                 double tolerance, std::size_t focusBegin,
                                                 std::size_t focusEnd) {
    return findCrossing(chain, tolerance, false, focusBegin, focusEnd);
}

}  // namespace kellvor
