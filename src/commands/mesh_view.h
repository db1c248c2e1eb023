// What the pair's mesh window shows of one set of values: both drawn gears ready to turn, the
// mesh check on the drawn outlines, the findings from the gear relations, and whether the two
// disagree about the teeth running into each other.
#pragma once

#include <cstdint>
#include <optional>

#include "commands/command_result.h"
#include "geometry/assessment.h"
#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"
#include "outline/mesh_check.h"
#include "outline/pair_motion.h"

namespace kellvor {

// How the findings and the mesh check disagree about interference.
enum class MeshDisagreement : std::uint8_t {
    findingsOnly,  // the findings see the teeth run into each other, the drawn outlines run free
    drawingOnly,   // the drawn outlines interfere, the findings see nothing of it
};

// The pair of one set of values, as the mesh window shows it.
struct MeshView {
    CommandResult result;       // ok when both gears are drawn and placed; otherwise why not
    GearPairInput input;        // the values shown
    double backlash = 0;        // normal backlash jn in mm that thinned both gears' flanks
    GearPairGeometry geometry;  // the pair as gear 1 sees it
    PairMotion motion;          // both drawn outlines at the centre distance, line of action
    MeshCheck check;            // measured on the drawn outlines, as eingriff.txt has it
    Assessment findings;        // judged from the gear relations
    std::optional<MeshDisagreement> disagreement;  // set where findings and check disagree
};

// Whether the findings (an interference finding, or a tip clearance below 0) and the mesh check
// (a step without a free turn) disagree about the teeth running into each other.
std::optional<MeshDisagreement> meshDisagreement(const Assessment& findings,
                                                 const MeshCheck& check);

// Prepares the view of input with the normal backlash jn (mm): the pair's prologue, the mesh
// check over its 360 steps (a few tenths of a second for 400 teeth) and the findings. Prints
// nothing; a failure leaves the result's message (out of range, not drawable, no working angle).
MeshView prepareMeshView(const GearPairInput& input, double backlash);

}  // namespace kellvor
