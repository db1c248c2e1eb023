// The pair's values, findings and inspection dimensions as JSON for scripts and spreadsheets.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "geometry/assessment.h"
#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"
#include "geometry/measuring_dimensions.h"
#include "outline/mesh_check.h"
#include "output/file_names.h"

namespace kellvor {

// Value of the JSON member "format".
inline constexpr std::string_view kJsonFormat = "kellvor/1";

// Most bytes the JSON report of one pair can take, for the free-space check.
inline constexpr std::uint64_t kMaxJsonReportBytes = 64 * 1024;

// One quantity of the report under its stable key.
struct JsonGeometryKey {
    std::string_view key;   // snake-case symbol, e.g. "alpha_wt_deg"
    std::string_view unit;  // "mm", "deg", "rad" or "1"
    double (*value)(const GearPairInput&, const GearPairGeometry&);  // the reported value
};

// Every quantity of zahnradwerte.txt in report order, except the base/usable comparison, which
// the JSON carries as the boolean "base_above_usable" after "involute_alpha_wt".
std::span<const JsonGeometryKey> jsonGeometryKeys();

// The JSON document (two-space indent, LF, UTF-8): format, input, geometry, findings with their
// German texts, inspection and mesh. Reals in the shortest form that reads back exactly;
// not-a-number is null.
std::string formatJsonReport(const GearPairInput& input, const GearPairGeometry& geometry,
                             const Assessment& assessment, const InspectionDimensions& inspection,
                             const std::optional<MeshCheck>& mesh = std::nullopt);

// The JSON document of a pair that passed validateInput, judged from its geometry, with the
// inspection dimensions for ball diameter DM (flanks thinned by the normal backlash jn) and the
// pair's mesh check where it was computed.
std::string formatJsonReport(const GearPairInput& input, const GearPairGeometry& geometry,
                             double DM, double jn = 0,
                             const std::optional<MeshCheck>& mesh = std::nullopt);

}  // namespace kellvor
