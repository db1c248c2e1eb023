// The file command: report, drawing and trace of gear 1, replaced together or not at all.
#pragma once

#include <filesystem>
#include <iosfwd>

#include "geometry/gear_pair_input.h"
#include "outline/root_arc.h"
#include "output/command_result.h"

namespace kellvor {

// Range test, geometry, report, profile, fit and walk; writes zahnradwerte.txt, zahnrad.txt and
// zahnrad.dxf into dir and the two progress lines to console. arc is the run's RootArc (in/out).
// On any failure no earlier file in dir is changed and no temporary file is left.
CommandResult runFileCommand(const GearPairInput& input, RootArc& arc,
                             const std::filesystem::path& dir, std::ostream& console,
                             const ProgressCallback& progress = {});

}  // namespace kellvor
