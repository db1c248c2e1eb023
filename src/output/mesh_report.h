// The mesh check as text (eingriff.txt): label=value lines with six significant digits.
#pragma once

#include <cstdint>
#include <string>

#include "outline/mesh_check.h"
#include "output/file_names.h"

namespace kellvor {

// The eight lines of the report of check at centre distance a, LF line ends; a value that is
// not a number reads "nan".
std::string formatMeshReport(double a, const MeshCheck& check);

// Most bytes the report can take (any values).
std::uint64_t maxMeshReportBytes();

}  // namespace kellvor
