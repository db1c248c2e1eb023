// For comparison only: drawing and trace written the plain way, through text streams that
// flush at every end of line.
#pragma once

#include <cstdint>
#include <filesystem>

#include "outline/flank_profile.h"
#include "outline/root_arc.h"

namespace kellvor::bench {

// Walks the z1 teeth of profile (arc is the fitted root arc) and writes zahnrad.dxf and
// zahnrad.txt into dir with std::ofstream, std::endl after every value; same bytes as the
// writers of the file command.
void writeWithFlushingStreams(const FlankProfile& profile, const RootArc& arc, std::int32_t z1,
                              const std::filesystem::path& dir);

// The same files through the file command's writers, but every tooth formatted and written on
// the calling thread: no background writer and no trace thread.
void writeOnOneThread(const FlankProfile& profile, const RootArc& arc, std::int32_t z1,
                      const std::filesystem::path& dir);

}  // namespace kellvor::bench
