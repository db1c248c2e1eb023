#include "commands/command_prologue.h"

#include <ostream>
#include <utility>

#include "commands/command_messages.h"
#include "geometry/input_validation.h"
#include "outline/outline_check.h"

namespace kellvor {

Prologue runPrologue(const GearPairInput& input, std::ostream& console,
                     std::string_view consequence, const RootArcFit& fit, RootForm root) {
    Prologue out;
    if (const auto violation = findRangeViolation(input)) {
        out.result =
            CommandResult{CommandStatus::outOfRange, messages::outOfRange(*violation), violation};
        return out;
    }
    PreparedGear gear;
    gear.geometry = computeGearPairGeometry(input);
    if (root == RootForm::generated) {
        GeneratedRoot generated = buildGeneratedRoot(input, gear.geometry);
        gear.profile = std::move(generated.profile);
        gear.arc = generated.arc;
        console << "n: " << gear.profile.count() << std::endl;
    } else {
        gear.profile = buildFlankProfile(gear.geometry, input.x1, input.segmentCount);
        console << "n: " << gear.profile.count() << std::endl;
        // Without a circle through the gap points there is no closed outline.
        const std::optional<RootArc> arc =
            fit ? fit(gear.profile, gear.geometry.rf1, input.z1)
                : fitRootArc(gear.profile, gear.geometry.rf1, input.z1);
        if (!arc) {
            out.result = failure(CommandStatus::fitFailed,
                                 messages::joined(messages::kFitFailed, consequence));
            return out;
        }
        gear.arc = *arc;
    }
    // A contour that crosses itself is no face a CAD program or a machine can take.
    if (const auto defect = findOutlineDefect(gear.profile, gear.arc, input.z1)) {
        out.result = failure(
            CommandStatus::notDrawable,
            messages::joined(messages::notDrawable(1, input.z1, input.x1, *defect), consequence));
        return out;
    }
    out.gear = std::move(gear);
    return out;
}

}  // namespace kellvor
