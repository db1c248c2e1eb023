// The area a closed contour of segments and circular arcs encloses, summed element by element.
#pragma once

#include <cstdint>

#include "outline/contour.h"
#include "outline/flank_profile.h"
#include "outline/root_arc.h"

namespace kellvor {

// Running sum of the signed area (counter-clockwise positive) of a closed contour fed one
// element at a time in contour order; compensated, so that millions of small terms add up to
// the last bits.
class ContourArea {
  public:
    // Adds the element's share: the trapezoid under its chord and, for an arc, the circular
    // segment between chord and arc (an arc whose ends coincide sweeps nothing).
    void add(const ContourElement& element);
    // The signed area of the elements added so far (the area once the contour is closed).
    double value() const { return m_sum + m_compensation; }

  private:
    void addTerm(double term);

    double m_sum = 0;
    double m_compensation = 0;
};

// The signed area of the outline of z teeth as the walk turns them (the contour runs clockwise,
// so the area is negative).
double outlineArea(const FlankProfile& profile, const RootArc& arc, std::int32_t z);

}  // namespace kellvor
