#include "commands/mesh_view.h"

#include <ostream>

#include "commands/command_messages.h"
#include "commands/command_prologue.h"

namespace kellvor {

std::optional<MeshDisagreement> meshDisagreement(const Assessment& findings,
                                                 const MeshCheck& check) {
    // A tip clearance below 0 puts a tip into the mating root circle: the relations see the
    // teeth run into each other there as well.
    bool related = false;
    for (const Finding& f : findings.list())
        related = related || f.code == FindingCode::interference ||
                  (f.code == FindingCode::tipClearance && f.level == FindingLevel::error);
    const bool drawn = check.interferencePhi1.has_value();
    if (related == drawn)
        return std::nullopt;
    return related ? MeshDisagreement::findingsOnly : MeshDisagreement::drawingOnly;
}

MeshView prepareMeshView(const GearPairInput& input, double backlash) {
    MeshView view;
    view.input = input;
    view.backlash = backlash;
    std::ostream silent(nullptr);  // the window prints no "n: " line
    const Prologue prologue =
        runPrologue(PrologueRequest{input, backlash, true}, silent, messages::kNothingDrawn);
    view.result = prologue.result;
    if (!prologue.result.ok())
        return view;
    const GearPairGeometry& g = prologue.gear->geometry;
    view.geometry = g;
    view.motion = preparePairMotion(prologue.gear->outline(), prologue.gear2->outline(), g.a,
                                    input.mn, lineOfAction(g.db1 / 2, g.db2 / 2, g.a, g.alphawt));
    view.check = checkPreparedMesh(prologue, backlash);
    view.findings = assessGearPair(input, g);
    view.disagreement = meshDisagreement(view.findings, view.check);
    return view;
}

}  // namespace kellvor
