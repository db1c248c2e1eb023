// A closed outline as straight segments and circular arcs, and exact tests of where two of its
// elements meet: the check that a drawn contour never crosses itself.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "outline/point.h"

namespace kellvor {

// One element of a contour, in contour order from start to end.
struct ContourElement {
    bool isArc = false;
    Point2 start;
    Point2 end;
    Point2 centre;      // arcs: centre of the circle
    double radius = 0;  // arcs: radius of the circle
    bool ccw = true;    // arcs: runs counter-clockwise about its centre from start to end
};

// A straight segment from a to b.
ContourElement segmentElement(Point2 a, Point2 b);

// The arc of the circle (centre, radius) from start to end, counter-clockwise when ccw.
ContourElement arcElement(Point2 centre, double radius, Point2 start, Point2 end, bool ccw);

// Where two elements meet: up to two points; an overlap of two collinear segments or of two arcs
// of one circle is given by its two ends.
struct ElementMeeting {
    std::size_t count = 0;
    std::array<Point2, 2> points{};
    bool overlap = false;
};

// The points both elements pass through, computed in closed form; a point within tolerance of
// both counts (touching is meeting).
ElementMeeting meetElements(const ContourElement& a, const ContourElement& b, double tolerance);

// Whether p lies on the element within tolerance.
bool onElement(const ContourElement& e, Point2 p, double tolerance);

// A pair of contour elements that meet where they should not.
struct ContourCrossing {
    std::size_t first = 0;   // index of the earlier element
    std::size_t second = 0;  // index of the later element
    Point2 at;               // a point where they meet
};

// The first pair of elements of the closed contour (the last element joins the first) that
// meet anywhere but at the end they share; elements shorter than tolerance are skipped (their
// neighbours then share that end). Nothing when the contour is simple. O(n^2).
std::optional<ContourCrossing> findContourCrossing(std::span<const ContourElement> closed,
                                                   double tolerance);

// The same for an open chain of elements (the last does not join the first), testing only the
// pairs of which at least one element lies in [focusBegin, focusEnd).
std::optional<ContourCrossing> findChainCrossing(std::span<const ContourElement> chain,
                                                 double tolerance, std::size_t focusBegin,
                                                 std::size_t focusEnd);

}  // namespace kellvor
