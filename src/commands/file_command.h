// The file command: report, drawing and trace of gear 1, replaced together or not at all.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "commands/command_prologue.h"
#include "commands/command_result.h"
#include "geometry/gear_pair_input.h"
#include "output/byte_sink.h"
#include "output/cam_drawing.h"

namespace kellvor {

// Given a file's final name and its temporary file, the sink the writers use instead; it must
// pass the bytes on to file. Lets tests inject failures; empty means the file itself.
using SinkWrapper =
    std::function<std::unique_ptr<ByteSink>(const std::string& name, ByteSink& file)>;

// Test seams of the commands: wrappers of the file sinks, a replacement root arc fit, and the
// writing as it runs where no thread can be started.
struct CommandSeams {
    SinkWrapper wrap;
    RootArcFit fit;
    bool withoutThreads = false;
};

// What the file command is asked to write: the report, drawing and trace of the pair's values,
// and the optional outputs that join the same set of files.
struct FileRequest {
    GearPairInput input;
    double backlash = 0;  // normal backlash jn in mm: thins the flanks of both gears
    bool pair = false;    // also zahnrad2.txt, zahnrad2.dxf, zahnradpaar.dxf and eingriff.txt
    bool json = false;    // zahnradwerte.json (default ball) joins the set
    RootForm root = RootForm::threePointArc;  // how each tooth gap is closed
    bool svg = false;  // zahnrad.svg (with the pair zahnrad2.svg, zahnradpaar.svg) joins the set
    DxfStyle dxfStyle = DxfStyle::minimal;  // how the gears' DXF drawings are written
    bool verify = false;  // the drawing is read back and checked before the set is switched
};

// Range test, geometry, report, profile, fit and walk; writes zahnradwerte.txt, zahnrad.txt and
// zahnrad.dxf into dir (for the pair also gear 2's trace and drawing, the assembly and the mesh
// check, whose record the result carries; zahnradwerte.json and the SVG drawings when asked) and
// the two progress lines to console. With request.verify the drawing is read back from its
// temporary file and checked before the set is switched; a fault found there is a fileError. On any
// failure no earlier file in dir is changed and no temporary file is left.
CommandResult runFileCommand(const FileRequest& request, const std::filesystem::path& dir,
                             std::ostream& console, const ProgressCallback& progress = {},
                             const CommandSeams& seams = {});

// The file command for the three files of input alone.
inline CommandResult runFileCommand(const GearPairInput& input, const std::filesystem::path& dir,
                                    std::ostream& console, const ProgressCallback& progress = {},
                                    const CommandSeams& seams = {}) {
    return runFileCommand(FileRequest{.input = input}, dir, console, progress, seams);
}

}  // namespace kellvor
