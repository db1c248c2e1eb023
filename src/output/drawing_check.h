// The check of a written drawing: read back from its file, its contour walked and compared with
// the outline in memory it was written from.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "outline/flank_profile.h"
#include "outline/root_arc.h"
#include "output/cam_drawing.h"

namespace kellvor {

// What the drawing of one gear (written from the walk by DxfOutlineWriter, or by
// CamDrawingWriter for the CAM-ready style) must show.
struct DrawingExpectation {
    const FlankProfile* profile = nullptr;  // the tooth's points; its involute and fillets
    const RootArc* arc = nullptr;           // the arc closing each gap
    std::int32_t z = 0;                     // teeth
    double mn = 0;                          // normal module, the scale of the involute tolerance
    double area = 0;                        // signed area of the outline in memory (outlineArea)
    DxfStyle style = DxfStyle::minimal;     // how the drawing was written
};

// What is wrong with a drawing read back.
enum class DrawingFault {
    unreadable,    // the file cannot be read, or holds other entities or another number of teeth
    notClosed,     // an element does not start where the one before it ends
    selfCrossing,  // two elements meet where they should not
    outOfSector,   // a tooth reaches past its neighbours' teeth
    offInvolute,   // a flank point lies off the exact involute
    offFillet,     // a fillet point lies off the fillet as computed
    areaDiffers,   // the enclosed area differs from the outline's in memory
};

// The first fault found, where and by how much.
struct DrawingFinding {
    DrawingFault fault = DrawingFault::unreadable;
    std::int64_t handle = 0;  // the entity where it was found; 0 for the drawing as a whole
    double deviation = 0;     // how far off: a length, or for the area a relative difference
    double allowed = 0;       // the tolerance it exceeds
    std::string detail;       // unreadable: the reader's reason (German)
    bool hexHandle = false;   // the drawing writes its handles in hexadecimal (the CAM style)
};

// Reads the drawing at file and checks it against expected: each element starts where the one
// before ends and the last reaches the first, within 1e-9 of the drawing's size; no two elements
// meet but neighbours at their common end (exact meeting of segments and arcs, every tooth
// against itself and the two teeth before it, and no tooth beyond one and a half pitches from
// its place, so that teeth farther apart cannot meet); every involute point, turned back by its
// tooth's angle as the walk turned it, within 1e-9 mn + 1e-14 ra of the exact involute; every
// fillet point within as much of the point in memory; the enclosed area equal to expected.area
// to 1e-12 relative. In the CAM style the polyline's segments (an arc where a vertex has a
// bulge) are checked as the LINEs and ARCs they stand for. Memory stays flat in the number of
// teeth. Nothing when all hold.
std::optional<DrawingFinding> checkWrittenDrawing(const std::filesystem::path& file,
                                                  const DrawingExpectation& expected);

}  // namespace kellvor
