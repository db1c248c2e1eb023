// The file command: report, drawing and trace of gear 1, replaced together or not at all.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "geometry/gear_pair_input.h"
#include "outline/root_arc.h"
#include "output/byte_sink.h"
#include "output/command_result.h"

namespace kellvor {

// Range test, geometry, report, profile, fit and walk; writes zahnradwerte.txt, zahnrad.txt and
// zahnrad.dxf into dir and the two progress lines to console. arc is the run's RootArc (in/out).
// On any failure no earlier file in dir is changed and no temporary file is left.
CommandResult runFileCommand(const GearPairInput& input, RootArc& arc,
                             const std::filesystem::path& dir, std::ostream& console,
                             const ProgressCallback& progress = {});

// Given a file's final name and its temporary file, the sink the writers use instead; it must
// pass the bytes on to file. Lets tests inject failures; empty means the file itself.
using SinkWrapper =
    std::function<std::unique_ptr<ByteSink>(const std::string& name, ByteSink& file)>;

// The file command with every file's sink wrapped by wrap.
CommandResult runFileCommand(const GearPairInput& input, RootArc& arc,
                             const std::filesystem::path& dir, std::ostream& console,
                             const ProgressCallback& progress, const SinkWrapper& wrap);

}  // namespace kellvor
