// A complete DXF R12 document: HEADER (version, units, extents, handle seed), TABLES (line type
// CONTINUOUS and the layers) and ENTITIES with unique hexadecimal handles. Every drawing that
// carries layers is written through it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "outline/point.h"
#include "output/background_writer.h"
#include "output/block_buffer.h"
#include "output/byte_sink.h"

namespace kellvor {

// One layer: its name (at most 31 of A-Z, 0-9, '_', '-', '$', as R12 allows) and its colour
// (AutoCAD colour index: 1 red, 3 green, 5 blue, 7 black or white, 8 grey).
struct DxfLayer {
    std::string_view name;
    std::int32_t colour = 7;
};

// What the HEADER and TABLES say, fixed before the first entity.
struct DxfDocumentSetup {
    std::vector<DxfLayer> layers;   // the layers entities may use, by index ("0" is always there)
    Point2 extMin;                  // lower left corner of everything drawn, in mm
    Point2 extMax;                  // upper right corner
    std::uint64_t maxEntities = 0;  // most entities to come: $HANDSEED lies beyond their handles
};

// Writes one DXF document into a sink. Entities name their layer by its index in the setup; an
// unknown index or more entities than announced make close() fail (the header cannot be
// changed once written). Further entity kinds follow the same pattern (entityStart).
class DxfDocumentWriter {
  public:
    // Text is formatted into blocks handed to sink, through background when given.
    explicit DxfDocumentWriter(ByteSink& sink, BackgroundWriter* background = nullptr);

    // Writes HEADER and TABLES and opens ENTITIES; false when the sink failed or a layer name
    // is not allowed.
    bool open(const DxfDocumentSetup& setup);
    // A LINE from one point to another.
    void line(std::size_t layer, Point2 from, Point2 to);
    // An ARC ccw from startDegrees to endDegrees (degrees ccw from +x).
    void arc(std::size_t layer, Point2 centre, double radius, double startDegrees,
             double endDegrees);
    // A CIRCLE.
    void circle(std::size_t layer, Point2 centre, double radius);
    // The start of a closed 2D POLYLINE; its VERTEX entities and a SEQEND follow.
    void polyline(std::size_t layer);
    // A VERTEX of the open polyline: the segment to the next vertex (the last one's to the
    // first) is an arc of bulge tan(sweep / 4), positive counter-clockwise, or straight for 0.
    void vertex(std::size_t layer, Point2 at, double bulge);
    // The SEQEND that ends the polyline.
    void seqend(std::size_t layer);
    // Closes ENTITIES, writes EOF and hands everything to the sink; false when any write failed
    // or an entity broke the rules above.
    bool close();
    // False once a write failed or an entity broke the rules above.
    bool ok() const { return m_buffer.ok() && !m_broken; }
    // Entities written so far.
    std::uint64_t entityCount() const { return m_entities; }

  private:
    // Reserves room for one entity and writes its type, handle and layer; nullptr (and the
    // document marked broken) for an unknown layer or one entity too many.
    char* entityStart(std::string_view type, std::size_t layer);

    BlockBuffer m_buffer;
    std::vector<std::string_view> m_layers;
    std::uint64_t m_nextHandle = 0;
    std::uint64_t m_entities = 0;
    std::uint64_t m_maxEntities = 0;
    bool m_broken = false;
};

// Handle of the first entity of a document with the given number of layers (the tables take
// the handles before it).
std::uint64_t firstEntityHandle(std::size_t layerCount);

// A handle as the document writes it: upper-case hexadecimal without leading zeros.
std::string hexHandleText(std::uint64_t handle);

// Most bytes a document of setup can take (any real values).
std::uint64_t maxDocumentBytes(const DxfDocumentSetup& setup);

}  // namespace kellvor
