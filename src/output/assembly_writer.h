// The assembly drawing zahnradpaar.dxf: both gears at their centre distance, their reference
// and working circles, the centre marks with the line of centres, and the line of action.
#pragma once

#include <cstdint>
#include <functional>

#include "geometry/gear_pair_geometry.h"
#include "outline/pair_placement.h"
#include "outline/progress.h"
#include "output/cam_drawing.h"
#include "output/dxf_document.h"
#include "output/file_names.h"

namespace kellvor {

// The layers of the assembly, in the order of the document's layer table.
enum AssemblyLayer : std::size_t {
    kLayerGear1 = 0,     // ZAHNRAD1: gear 1 as in zahnrad.dxf
    kLayerGear2,         // ZAHNRAD2: gear 2 placed at (0, a)
    kLayerPitchCircles,  // TEILKREISE: d1, d2, dw1, dw2
    kLayerAxes,          // ACHSEN: centre marks and the line of centres
    kLayerLineOfAction,  // EINGRIFFSLINIE: between the tangent points on the base circles
};

// What the assembly shows: both outlines and the pair's circles (lengths in mm).
struct AssemblyDrawing {
    GearOutline gear1;
    GearOutline gear2;
    double a = 0;             // centre distance
    double d1 = 0, d2 = 0;    // reference diameters
    double dw1 = 0, dw2 = 0;  // working pitch diameters
    double markLength = 0;    // half length of each centre mark
    LineOfAction lineOfAction;
    DxfStyle style = DxfStyle::minimal;  // the gears as LINEs and ARCs, or one polyline each
};

// The assembly of the pair's geometry with the two outlines (gear 2's in its own frame).
AssemblyDrawing assemblyDrawing(const GearPairGeometry& geometry, double mn, GearOutline gear1,
                                GearOutline gear2, DxfStyle style = DxfStyle::minimal);

// Walks both gears of the assembly as drawn: gear 1's teeth as the walk turns them, then gear
// 2's placed at (0, a); visit sees the gear (0 or 1) and the tooth and may stop the walk with
// false (then false).
bool walkAssemblyTeeth(const AssemblyDrawing& drawing,
                       const std::function<bool(int gear, const OutlineTooth&)>& visit);

// The document's setup: layers, extents and the number of entities.
DxfDocumentSetup assemblySetup(const AssemblyDrawing& drawing);

// Writes the whole document through doc (opened here); progress (may be empty) sees each tooth
// of both gears out of z1 + z2, and its false stops the writing (then false). False also when a
// write failed.
bool writeAssembly(DxfDocumentWriter& doc, const AssemblyDrawing& drawing,
                   const ProgressCallback& progress = {});

}  // namespace kellvor
