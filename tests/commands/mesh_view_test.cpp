#include "commands/mesh_view.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "commands/command_messages.h"

namespace kellvor {
namespace {

Finding finding(FindingCode code, FindingLevel level) {
    return Finding{code, level, 1, 0.0, 0.0, 0.0};
}

struct DisagreementRow {
    const char* name;
    std::vector<Finding> findings;
    bool drawingInterferes;
    std::optional<MeshDisagreement> expected;
};

void PrintTo(const DisagreementRow& row, std::ostream* out) {
    *out << row.name;
}

class MeshDisagreementTable : public testing::TestWithParam<DisagreementRow> {};

// Only interference counts, on either side; a tip clearance below 0 is the relations' own way
// of seeing a tip run into the mating root.
TEST_P(MeshDisagreementTable, ComparesInterferenceOnBothSides) {
    const DisagreementRow& row = GetParam();
    Assessment findings;
    for (const Finding& f : row.findings)
        findings.findings[findings.count++] = f;
    MeshCheck check;
    if (row.drawingInterferes)
        check.interferencePhi1 = 1.25;
    EXPECT_EQ(meshDisagreement(findings, check), row.expected);
}

constexpr auto kError = FindingLevel::error;
constexpr auto kWarning = FindingLevel::warning;

INSTANTIATE_TEST_SUITE_P(
    Rows, MeshDisagreementTable,
    testing::Values(DisagreementRow{"neither", {}, false, std::nullopt},
                    DisagreementRow{
                        "both", {finding(FindingCode::interference, kError)}, true, std::nullopt},
                    DisagreementRow{"relationsOnly",
                                    {finding(FindingCode::undercut, kWarning),
                                     finding(FindingCode::interference, kError)},
                                    false,
                                    MeshDisagreement::findingsOnly},
                    DisagreementRow{"drawingOnly", {}, true, MeshDisagreement::drawingOnly},
                    DisagreementRow{"negativeClearance",
                                    {finding(FindingCode::tipClearance, kError)},
                                    false,
                                    MeshDisagreement::findingsOnly},
                    DisagreementRow{"shortClearanceIsNoInterference",
                                    {finding(FindingCode::tipClearance, kWarning)},
                                    true,
                                    MeshDisagreement::drawingOnly},
                    DisagreementRow{"undercutIsNoInterference",
                                    {finding(FindingCode::undercut, kWarning)},
                                    true,
                                    MeshDisagreement::drawingOnly}),
    [](const testing::TestParamInfo<DisagreementRow>& row) { return row.param.name; });

struct ViewRow {
    const char* name;
    GearPairInput input;
    double backlash;
    CommandStatus status;
    std::optional<MeshDisagreement> expected;
    const char* said = "";  // part of the failure's message
};

void PrintTo(const ViewRow& row, std::ostream* out) {
    *out << row.name;
}

class PrepareMeshViewTable : public testing::TestWithParam<ViewRow> {};

// Pairs found with both computations (tests/data/mesh_reference.py measures the drawn
// outlines of the first three again): the initial values agree; an unshifted pinion of 12
// teeth interferes by the relations while its drawn outlines run free over the root arc; a
// pinion against a wheel shifted by -0.5 interferes only in the drawing.
TEST_P(PrepareMeshViewTable, FindsTheDisagreementOrSaysWhyNot) {
    const ViewRow& row = GetParam();
    const MeshView view = prepareMeshView(row.input, row.backlash);
    ASSERT_EQ(view.result.status, row.status) << view.result.message;
    if (row.status != CommandStatus::ok) {
        EXPECT_NE(view.result.message.find(row.said), std::string::npos) << view.result.message;
        return;
    }
    EXPECT_EQ(view.disagreement, row.expected);
    EXPECT_EQ(view.motion.gear1.z, row.input.z1);
    EXPECT_EQ(view.motion.gear2.z, row.input.z2);
    EXPECT_EQ(view.check.jn, row.backlash);
    const std::string line = messages::meshDisagreement(
        view.disagreement.value_or(MeshDisagreement::findingsOnly), view.check, DecimalMark::comma);
    EXPECT_NE(line.find("maßgebend ist die Zeichnung"), std::string::npos) << line;
    if (view.disagreement == MeshDisagreement::drawingOnly) {
        EXPECT_NE(line.find("ab φ1 = 6,28571°"), std::string::npos) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PrepareMeshViewTable,
    testing::Values(
        ViewRow{"initialValues", GearPairInput{}, 0.0, CommandStatus::ok, std::nullopt},
        ViewRow{"initialValuesWithBacklash", GearPairInput{}, 0.2, CommandStatus::ok, std::nullopt},
        ViewRow{"unshiftedPinionOf12Teeth", GearPairInput{12, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 10},
                0.0, CommandStatus::ok, MeshDisagreement::findingsOnly},
        ViewRow{"wheelShiftedNegatively", GearPairInput{14, 40, 8.0, 45.0, 30.0, 0.0, -0.5, 10},
                0.0, CommandStatus::ok, MeshDisagreement::drawingOnly},
        ViewRow{"outOfRange", GearPairInput{3, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 10}, 0.0,
                CommandStatus::outOfRange, std::nullopt, "Feld \"z1\""},
        ViewRow{"backlashOutOfRange", GearPairInput{}, 4.0, CommandStatus::outOfRange, std::nullopt,
                "Flankenspiel jn"},
        ViewRow{"noWorkingAngle", GearPairInput{4, 4, 8.0, 45.0, 0.0, -0.5, -0.5, 10}, 0.0,
                CommandStatus::notDrawable, std::nullopt, "Es wurde nichts gezeichnet."}),
    [](const testing::TestParamInfo<ViewRow>& row) { return row.param.name; });

}  // namespace
}  // namespace kellvor
