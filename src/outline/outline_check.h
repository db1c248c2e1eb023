// Whether a gear's outline can be drawn: a contour that never crosses itself.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "outline/contour.h"
#include "outline/flank_profile.h"
#include "outline/root_arc.h"

namespace kellvor {

// Why an outline cannot be drawn.
enum class OutlineDefect {
    rootArcsCross,  // the root arcs of neighbouring gaps cross: the teeth are cut off the body
    selfCrossing,   // some other part of the contour crosses itself
};

// The contour elements of teeth first .. first + count - 1 (modulo z) in walk order: each
// tooth's polyline segments (tip land included), then its root arc.
std::vector<ContourElement> outlineElements(const FlankProfile& profile, const RootArc& arc,
                                            std::int32_t z, std::int32_t first, std::int32_t count);

// Checks the outline of z teeth built from profile and the fitted arc for a crossing: for few
// teeth the whole contour, otherwise one period against its two neighbours on either side (the
// outline repeats with the pitch). Nothing when the contour is simple.
std::optional<OutlineDefect> findOutlineDefect(const FlankProfile& profile, const RootArc& arc,
                                               std::int32_t z);

}  // namespace kellvor
