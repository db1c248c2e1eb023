// The German texts of the assessment: findings, their levels, and the check listing with the
// inspection dimensions. Formatted on demand; the assessment itself holds only numbers.
#pragma once

#include <string>
#include <string_view>

#include "geometry/assessment.h"
#include "geometry/measuring_dimensions.h"

namespace kellvor {

// "Hinweis", "Warnung" or "Fehler".
std::string_view findingLevelName(FindingLevel level);

// The finding as one German sentence naming the gear, the value and the limit (lengths in mm)
// and what to do about it.
std::string findingText(const Finding& finding);

// "<level>: <text>", the line printed for a finding.
std::string findingLine(const Finding& finding);

// The listing of kellvor-cli --check: the findings (or that there are none), then sn, Wk with k
// and Md of both gears for the ball diameter, LF line ends.
std::string formatCheckListing(const Assessment& assessment,
                               const InspectionDimensions& inspection);

}  // namespace kellvor
