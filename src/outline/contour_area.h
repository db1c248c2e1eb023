// The area a closed contour of segments and circular arcs encloses, summed element by element.
#pragma once

#include <cstdint>

#include "outline/contour.h"
#include "outline/flank_profile.h"
#include "outline/root_arc.h"

namespace kellvor {

// Running sum of the signed area (counter-clockwise positive) of a closed contour fed one
// element at a time in contour order; compensated, so that millions of small terms add up to
// the last bits. Where an element does not start exactly where the one before ended (an arc's
// ends computed from its angles), and from the last element back to the first, the contour is
// joined by a straight line: the sum is always the area of a closed figure.
class ContourArea {
  public:
    // Adds the element's share: the trapezoid under its chord and, for an arc, the circular
    // segment between chord and arc (an arc whose ends coincide sweeps nothing).
    void add(const ContourElement& element);
    // The signed area of the elements added so far, closed back to the first one.
    double value() const;

  private:
    void addTerm(double term);
    void addChord(Point2 from, Point2 to);

    double m_sum = 0;
    double m_compensation = 0;
    bool m_started = false;
    Point2 m_first;
    Point2 m_last;
};

// The signed area of the outline of z teeth as the walk turns them (the contour runs clockwise,
// so the area is negative).
double outlineArea(const FlankProfile& profile, const RootArc& arc, std::int32_t z);

}  // namespace kellvor
