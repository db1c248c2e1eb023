#include "commands/sweep_rows.h"

#include "geometry/assessment.h"
#include "geometry/input_validation.h"
#include "output/sweep_csv.h"

namespace kellvor {

bool appendSweepRow(const GearPairInput& point, SweepRows rows, std::string& out) {
    if (!validateInput(point)) {
        if (rows == SweepRows::onlyOk)
            return false;
        appendSweepCsvRangeRow(out, point);
        return true;
    }
    const GearPairGeometry g = computeGearPairGeometry(point);
    const Assessment assessment = assessGearPair(point, g);
    // A point left out costs no formatting.
    if (rows == SweepRows::onlyOk && !withoutWarning(assessment))
        return false;
    appendSweepCsvRow(out, point, g, assessment);
    return true;
}

}  // namespace kellvor
