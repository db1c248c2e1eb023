#include "cli/cli_verdict.h"

#include <ostream>

#include "cli/cli_messages.h"
#include "commands/command_messages.h"
#include "commands/command_prologue.h"
#include "commands/single_file.h"
#include "geometry/assessment_text.h"
#include "geometry/backlash.h"
#include "geometry/input_validation.h"
#include "output/json_report.h"

namespace kellvor {
namespace {

void printFindings(const Assessment& a, std::ostream& err) {
    for (const Finding& f : a.list())
        err << findingLine(f) << '\n';
}

double ballOf(const CliOptions& o) {
    return o.ballDiameter.value_or(defaultBallDiameter(o.input.mn));
}

}  // namespace

std::optional<int> rejectBall(const CliOptions& o, std::ostream& err) {
    if (!o.ballDiameter || !validateInput(o.input))
        return std::nullopt;
    const GearPairGeometry g = computeGearPairGeometry(o.input);
    const GearPairInput swapped = swappedInput(o.input);
    const BallRange gear1 = ballRange(o.input, g);
    const BallRange gear2 = ballRange(swapped, computeGearPairGeometry(swapped));
    // A ball for one of the two gears is enough: the other gear's Md is then left out.
    if (gear1.contains(*o.ballDiameter) || gear2.contains(*o.ballDiameter))
        return std::nullopt;
    err << cli_messages::ballOutOfRange(*o.ballDiameter, gear1, gear2) << '\n';
    return kExitOutOfRange;
}

int runVerdict(const CliOptions& o, std::ostream& out, std::ostream& err) {
    if (const auto violation = findRangeViolation(o.input)) {
        err << messages::outOfRange(*violation) << '\n';
        return kExitOutOfRange;
    }
    if (!backlashInRange(o.backlash, o.input.mn)) {
        err << messages::backlashOutOfRange(o.backlash, o.input.mn) << '\n';
        return kExitOutOfRange;
    }
    // With the pair the mesh check joins the JSON: the drawn, thinned outlines are measured.
    std::optional<MeshCheck> mesh;
    if (o.pair && o.jsonFile) {
        std::ostream silent(nullptr);
        const Prologue prologue =
            runPrologue(PrologueRequest{o.input, o.backlash, true}, silent, "");
        if (!prologue.gear) {
            err << prologue.result.message << '\n';
            return kExitOutOfRange;
        }
        mesh = checkPreparedMesh(prologue, o.backlash);
    }
    const GearPairGeometry g = computeGearPairGeometry(o.input);
    const GearPairGeometry swapped = computeGearPairGeometry(swappedInput(o.input));
    const Assessment assessment = assessGearPair(o.input, g);
    const InspectionDimensions inspection =
        inspectGearPair(o.input, g, swapped, ballOf(o), normalThicknessThinning(o.backlash));
    if (o.check)
        out << formatCheckListing(assessment, inspection);
    else
        printFindings(assessment, err);
    if (o.jsonFile) {
        const std::string json = formatJsonReport(o.input, g, assessment, inspection, mesh);
        if (*o.jsonFile == "-") {
            out << json;
        } else if (const CommandResult written = replaceSingleFile(*o.jsonFile, json);
                   !written.ok()) {
            err << cli_messages::kProgramPrefix << written.message << '\n';
            return kExitFileError;
        }
    }
    return o.check && assessment.hasError() ? kExitFindingError : kExitSuccess;
}

void printFindings(const GearPairInput& input, std::ostream& err) {
    if (validateInput(input))
        printFindings(assessGearPair(input), err);
}

}  // namespace kellvor
