#include "outline/outline_check.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kellvor {
namespace {

// Up to this many teeth the whole contour is checked.
constexpr std::int32_t kWholeContourTeeth = 8;
// Teeth on either side of the checked period.
constexpr std::int32_t kNeighbourTeeth = 2;

}  // namespace

std::vector<ContourElement> outlineElements(const FlankProfile& profile, const RootArc& arc,
                                            std::int32_t z, std::int32_t first,
                                            std::int32_t count) {
    std::vector<ContourElement> elements;
    const std::int32_t n = profile.count();
    if (z <= 0 || n <= 0)
        return elements;
    elements.reserve(static_cast<std::size_t>(count) * static_cast<std::size_t>(n));
    const double tau = 360.0 / z;
    const Point2 centre{arc.centreX, arc.centreY};
    const Point2 lowerEnd = profile.points[static_cast<std::size_t>(n - 1)];
    for (std::int32_t t = 0; t < count; ++t) {
        // Tooth k of the walk, with its angle as a multiple of the pitch: the walk's sum differs
        // from it only in the last bits.
        const std::int64_t k = ((std::int64_t{first} + t) % z + z) % z;
        const double phi = static_cast<double>(k) * tau;
        const Rotation rot = clockwiseRotation(phi);
        Point2 previous = turn(rot, profile.points[static_cast<std::size_t>(n - 1)]);
        for (std::int32_t i = n - 2; i >= 0; --i) {
            const Point2 p = turn(rot, profile.points[static_cast<std::size_t>(i)]);
            elements.push_back(segmentElement(previous, p));
            previous = p;
        }
        const Point2 next = turn(clockwiseRotation(phi + tau), lowerEnd);
        elements.push_back(
            arcElement(turn(rot, centre), arc.radius, previous, next, !arc.clockwise));
    }
    return elements;
}

std::optional<OutlineDefect> findOutlineDefect(const FlankProfile& profile, const RootArc& arc,
                                               std::int32_t z) {
    if (z <= 0 || profile.count() <= 0)
        return std::nullopt;
    // Touching within a billionth of the gear's size counts as meeting.
    const double tolerance = 1e-9 * std::max(profile.tipRadius, arc.radius);
    std::optional<ContourCrossing> crossing;
    std::vector<ContourElement> elements;
    if (z <= kWholeContourTeeth) {
        elements = outlineElements(profile, arc, z, 0, z);
        crossing = findContourCrossing(elements, tolerance);
    } else {
        const std::int32_t span = 2 * kNeighbourTeeth + 1;
        elements = outlineElements(profile, arc, z, -kNeighbourTeeth, span);
        const std::size_t perTooth = elements.size() / static_cast<std::size_t>(span);
        const std::size_t focus = perTooth * static_cast<std::size_t>(kNeighbourTeeth);
        crossing = findChainCrossing(elements, tolerance, focus, focus + perTooth);
    }
    if (!crossing)
        return std::nullopt;
    if (elements[crossing->first].isArc && elements[crossing->second].isArc)
        return OutlineDefect::rootArcsCross;
    return OutlineDefect::selfCrossing;
}

}  // namespace kellvor
