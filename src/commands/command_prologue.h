// What both commands do before they write or draw: range test, geometry, flank profile (with the
// generated root if asked), the "n: " console line, root arc fit and contour check.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string_view>

#include "commands/command_result.h"
#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"
#include "outline/flank_profile.h"
#include "outline/generated_root.h"
#include "outline/root_arc.h"

namespace kellvor {

// The root arc fit a command uses (fitRootArc; tests put one in that fails).
using RootArcFit =
    std::function<std::optional<RootArc>(const FlankProfile& profile, double rf, std::int32_t z)>;

// Gear 1 ready to be walked.
struct PreparedGear {
    GearPairGeometry geometry;
    FlankProfile profile;
    RootArc arc;
};

// The prepared gear, or the result of a command that ends here.
struct Prologue {
    CommandResult result;  // ok when gear is set
    std::optional<PreparedGear> gear;
};

// Runs the prologue for input: on success the gear, after "n: <N>" went to console; otherwise
// the failure, its message ending with consequence (what the command left alone). fit may be
// empty (then fitRootArc); the generated root needs no fit.
Prologue runPrologue(const GearPairInput& input, std::ostream& console,
                     std::string_view consequence, const RootArcFit& fit = {},
                     RootForm root = RootForm::threePointArc);

}  // namespace kellvor
