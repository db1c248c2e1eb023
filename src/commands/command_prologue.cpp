#include "commands/command_prologue.h"

#include <cmath>
#include <ostream>
#include <utility>

#include "commands/command_messages.h"
#include "geometry/backlash.h"
#include "geometry/input_validation.h"
#include "outline/outline_check.h"

namespace kellvor {
namespace {

// Geometry and profile of gear 1 of seen, thinned for the backlash jn: involute flanks closed by
// the three-point arc (fitted later), or the outline the generating rack leaves, its tooth
// thickened so that the flanks come out thinned alike.
PreparedGear startGear(const GearPairInput& seen, double jn, RootForm root) {
    PreparedGear gear;
    gear.seen = seen;
    gear.root = root;
    gear.geometry = computeGearPairGeometry(seen);
    if (root == RootForm::generated) {
        GeneratedRoot generated =
            buildGeneratedRoot(seen, gear.geometry, rackThickening(gear.geometry, jn));
        gear.profile = std::move(generated.profile);
        gear.arc = generated.arc;
        gear.undercutTrimmed = generated.undercut;
    } else {
        gear.profile = buildFlankProfile(gear.geometry, seen.x1, seen.segmentCount,
                                         flankThinning(gear.geometry, jn));
    }
    return gear;
}

// Fits the root arc (the generated root needs none) and checks the contour of the gear numbered
// `number` (1 or 2); the failure when there is no arc or the contour crosses itself.
std::optional<CommandResult> finishGear(PreparedGear& gear, int number,
                                        std::string_view consequence, const RootArcFit& fit) {
    const GearPairInput& seen = gear.seen;
    if (gear.root == RootForm::threePointArc) {
        // Without a circle through the gap points there is no closed outline.
        const std::optional<RootArc> arc =
            fit ? fit(gear.profile, gear.geometry.rf1, seen.z1)
                : fitRootArc(gear.profile, gear.geometry.rf1, seen.z1);
        if (!arc)
            return failure(CommandStatus::fitFailed,
                           messages::joined(messages::kFitFailed, consequence));
        gear.arc = *arc;
    }
    // A contour that crosses itself is no face a CAD program or a machine can take.
    if (const auto defect = findOutlineDefect(gear.profile, gear.arc, seen.z1))
        return failure(CommandStatus::notDrawable,
                       messages::joined(messages::notDrawable(number, seen.z1, seen.x1, *defect),
                                        consequence));
    return std::nullopt;
}

}  // namespace

Prologue runPrologue(const PrologueRequest& request, std::ostream& console,
                     std::string_view consequence, const RootArcFit& fit) {
    const GearPairInput& input = request.input;
    Prologue out;
    if (const auto violation = findRangeViolation(input)) {
        out.result = failure(CommandStatus::outOfRange, messages::outOfRange(*violation));
        out.result.violation = violation;
        return out;
    }
    if (!backlashInRange(request.backlash, input.mn)) {
        out.result = failure(CommandStatus::outOfRange,
                             messages::backlashOutOfRange(request.backlash, input.mn));
        return out;
    }
    PreparedGear gear = startGear(input, request.backlash, request.root);
    // Without a working pressure angle the pair has no centre distance to be placed at.
    if (request.pair && std::isnan(gear.geometry.alphawt)) {
        out.result = failure(CommandStatus::notDrawable,
                             messages::joined(messages::noWorkingAngle(input), consequence));
        return out;
    }
    console << "n: " << gear.profile.count() << std::endl;
    if (auto failed = finishGear(gear, 1, consequence, fit)) {
        out.result = std::move(*failed);
        return out;
    }
    if (request.pair) {
        PreparedGear gear2 = startGear(swappedInput(input), request.backlash, request.root);
        if (auto failed = finishGear(gear2, 2, consequence, fit)) {
            out.result = std::move(*failed);
            return out;
        }
        out.gear2 = std::move(gear2);
    }
    out.gear = std::move(gear);
    return out;
}

MeshCheck checkPreparedMesh(const Prologue& prologue, double backlash) {
    const GearPairGeometry& g = prologue.gear->geometry;
    return checkMesh(MeshSetup{prologue.gear->outline(), prologue.gear2->outline(), g.a, g.dw2 / 2,
                               prologue.gear->seen.mn, backlash,
                               nominalCircularBacklash(g, backlash)});
}

}  // namespace kellvor
