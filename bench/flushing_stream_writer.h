// For comparison only: drawing and trace written the plain way, through text streams that
// flush at every end of line.
#pragma once

#include <cstdint>
#include <filesystem>

#include "outline/flank_profile.h"
#include "outline/root_arc.h"

namespace kellvor::bench {

// Walks the z1 teeth of profile (arc is the fitted RootArc, in/out) and writes zahnrad.dxf and
// zahnrad.txt into dir with std::ofstream, std::endl after every value; same bytes as the
// writers of the file command.
void writeWithFlushingStreams(const FlankProfile& profile, RootArc& arc, std::int32_t z1,
                              const std::filesystem::path& dir);

}  // namespace kellvor::bench
