// The CAM-ready drawing: each gear's contour as one closed POLYLINE on the gear's own layer of a
// complete R12 document, its root arcs carried by the vertices as bulges.
#pragma once

#include <cstdint>
#include <string_view>

#include "outline/gear_outline.h"
#include "outline/pair_placement.h"
#include "output/background_writer.h"
#include "output/byte_sink.h"
#include "output/dxf_document.h"

namespace kellvor {

// How a gear's contour is written into a DXF drawing.
enum class DxfStyle {
    minimal,  // LINE and ARC entities only, on layer 0, with decimal handles
    cam,      // HEADER and TABLES, one closed POLYLINE with bulges per gear on its layer
};

// The layers of gear 1 and gear 2, in every drawing that has layers.
inline constexpr std::string_view kGear1Layer = "ZAHNRAD1";
inline constexpr std::string_view kGear2Layer = "ZAHNRAD2";

// The bulge of the tooth's root arc as the contour runs along it: tan(sweep / 4), negative
// where it runs clockwise (the root circle about the gear centre).
double rootArcBulge(const OutlineTooth& tooth);

// Writes one tooth of a polyline contour: a VERTEX for each point that differs from the one
// before (the tip of a pointed tooth is one point twice), the last with the root arc's bulge.
void writeContourTooth(DxfDocumentWriter& doc, std::size_t layer, const OutlineTooth& tooth);

// Most entities of one gear's polyline: POLYLINE, a VERTEX per point, SEQEND.
std::uint64_t contourEntities(const GearOutline& outline);

// The setup of the CAM-ready drawing of one gear: its layer, its extents (the square about the
// centre that holds the outline's reach) and its entities.
DxfDocumentSetup camGearSetup(const GearOutline& outline, std::string_view layer);

// Writes the CAM-ready drawing of one gear tooth by tooth, as the walk builds the teeth.
class CamDrawingWriter {
  public:
    // Text is formatted into blocks handed to sink, through background when given.
    explicit CamDrawingWriter(ByteSink& sink, BackgroundWriter* background = nullptr);

    // Writes HEADER and TABLES and starts the polyline on the setup's first layer; false when
    // the sink failed.
    bool open(const DxfDocumentSetup& setup);
    // Adds the tooth's vertices.
    bool writeTooth(const OutlineTooth& tooth);
    // Ends the polyline and the document; false when any write failed.
    bool close();

  private:
    DxfDocumentWriter m_doc;
};

}  // namespace kellvor
