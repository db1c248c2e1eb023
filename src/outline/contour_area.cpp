#include "outline/contour_area.h"

#include <cmath>
#include <cstddef>

#include "outline/gear_outline.h"

namespace kellvor {
namespace {

constexpr double kTwoPi = 6.283185307179586;
// Below this sweep (radians) theta - sin(theta) is taken from its series: the difference would
// cancel most of its digits.
constexpr double kSeriesSweep = 1e-2;

// theta - sin(theta) for theta >= 0, to the last bits also for small theta.
double sweepExcess(double theta) {
    if (theta >= kSeriesSweep)
        return theta - std::sin(theta);
    const double t2 = theta * theta;
    // theta^3/6 - theta^5/120 + theta^7/5040 - theta^9/362880: the next term is below 1e-30.
    return theta * t2 * (1.0 / 6 - t2 * (1.0 / 120 - t2 * (1.0 / 5040 - t2 / 362880)));
}

}  // namespace

void ContourArea::addTerm(double term) {
    // Neumaier's compensated sum: the rounding error of every addition is kept and added back.
    const double t = m_sum + term;
    if (std::fabs(m_sum) >= std::fabs(term))
        m_compensation += (m_sum - t) + term;
    else
        m_compensation += (term - t) + m_sum;
    m_sum = t;
}

void ContourArea::addChord(Point2 from, Point2 to) {
    // The trapezoid rule (x0 + x1) (y1 - y0) / 2 sums to the shoelace formula over a closed
    // contour, but each term is of the size of the element rather than the difference of two
    // products of the gear's size, x0 y1 - x1 y0, that would cancel most of their digits.
    addTerm(0.5 * (from.x + to.x) * (to.y - from.y));
}

void ContourArea::add(const ContourElement& e) {
    // Left open, a gap of a few units in the last place would change the trapezoid sum by its
    // distance from the origin times its width; repeated with the pitch around a large gear,
    // that adds up to far more than the gap's own area.
    if (!m_started) {
        m_first = e.start;
        m_started = true;
    } else if (m_last != e.start) {
        addChord(m_last, e.start);
    }
    m_last = e.end;
    addChord(e.start, e.end);
    if (!e.isArc)
        return;
    // The circular segment between chord and arc: r^2 (theta - sin theta) / 2, on the left of
    // the chord for a counter-clockwise arc.
    const double a0 = std::atan2(e.start.y - e.centre.y, e.start.x - e.centre.x);
    const double a1 = std::atan2(e.end.y - e.centre.y, e.end.x - e.centre.x);
    double sweep = std::fmod(e.ccw ? a1 - a0 : a0 - a1, kTwoPi);
    if (sweep < 0)
        sweep += kTwoPi;
    const double segment = 0.5 * e.radius * e.radius * sweepExcess(sweep);
    addTerm(e.ccw ? segment : -segment);
}

double ContourArea::value() const {
    if (!m_started)
        return 0;
    const double closing = 0.5 * (m_last.x + m_first.x) * (m_first.y - m_last.y);
    return m_sum + closing + m_compensation;
}

double outlineArea(const FlankProfile& profile, const RootArc& arc, std::int32_t z) {
    ContourArea area;
    bool first = true;
    Point2 start, previous;
    ContourElement pendingArc;
    walkGearOutline(profile, arc, z, [&](const OutlineTooth& tooth) {
        const auto points = tooth.points();
        if (points.empty())
            return false;
        // The arc of the previous tooth ends at this tooth's first point.
        if (first) {
            start = points[0];
            first = false;
        } else {
            pendingArc.end = points[0];
            area.add(pendingArc);
        }
        for (std::size_t i = 1; i < points.size(); ++i)
            area.add(segmentElement(points[i - 1], points[i]));
        previous = points.back();
        pendingArc = arcElement({tooth.arcCentreX, tooth.arcCentreY}, tooth.arcRadius, previous,
                                previous, !tooth.arcClockwise);
        return true;
    });
    if (!first) {
        pendingArc.end = start;
        area.add(pendingArc);
    }
    return area.value();
}

}  // namespace kellvor
