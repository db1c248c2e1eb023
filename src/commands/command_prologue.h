// What both commands do before they write or draw: range test, geometry, flank profile (with the
// generated root if asked), the "n: " console line, root arc fit and contour check, for gear 1
// and, for the pair, gear 2.
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
#include "outline/mesh_check.h"
#include "outline/pair_placement.h"
#include "outline/root_arc.h"

namespace kellvor {

// The root arc fit a command uses (fitRootArc; tests put one in that fails).
using RootArcFit =
    std::function<std::optional<RootArc>(const FlankProfile& profile, double rf, std::int32_t z)>;

// A gear ready to be walked: gear 1 of seen (for gear 2, of swappedInput(input)).
struct PreparedGear {
    GearPairGeometry geometry;  // the geometry of seen
    FlankProfile profile;       // thinned for the backlash
    RootArc arc;
    GearPairInput seen;                       // the input as this gear sees it: it is gear 1 of it
    RootForm root = RootForm::threePointArc;  // how the gaps are closed
    bool undercutTrimmed = false;             // generated root: the fillet cuts into the involute

    // The outline as the walk builds it.
    GearOutline outline() const { return GearOutline{profile, arc, seen.z1}; }
};

// What the prologue prepares: gear 1, and gear 2 for the pair; both thinned for the backlash.
struct PrologueRequest {
    GearPairInput input;
    double backlash = 0;                      // normal backlash jn in mm, 0 <= jn < 0.5 mn
    bool pair = false;                        // prepare gear 2 as well
    RootForm root = RootForm::threePointArc;  // how the gaps of both gears are closed
};

// The prepared gears, or the result of a command that ends here.
struct Prologue {
    CommandResult result;  // ok when gear is set
    std::optional<PreparedGear> gear;
    std::optional<PreparedGear> gear2;  // set with gear when the pair was asked for
};

// Runs the prologue: on success the gears, after "n: <N>" went to console (once); otherwise the
// failure, its message ending with consequence (what the command left alone). fit may be empty
// (then fitRootArc).
Prologue runPrologue(const PrologueRequest& request, std::ostream& console,
                     std::string_view consequence, const RootArcFit& fit = {});

// The mesh check of a prologue that prepared the pair (gear and gear2 set), measured on the drawn,
// thinned outlines at the working centre distance.
MeshCheck checkPreparedMesh(const Prologue& prologue, double backlash);

// The prologue for gear 1 of input alone, without backlash.
inline Prologue runPrologue(const GearPairInput& input, std::ostream& console,
                            std::string_view consequence, const RootArcFit& fit = {}) {
    return runPrologue(PrologueRequest{input}, console, consequence, fit);
}

}  // namespace kellvor
