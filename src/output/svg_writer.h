// The SVG drawing zahnrad.svg: one closed path per gear, lines and true circular arcs, in mm.
#pragma once

#include <cstdint>
#include <string_view>

#include "outline/flank_profile.h"
#include "outline/gear_outline.h"
#include "outline/point.h"
#include "output/background_writer.h"
#include "output/block_buffer.h"
#include "output/byte_sink.h"
#include "output/file_names.h"

namespace kellvor {

// The ids of the gears' paths.
inline constexpr std::string_view kGear1PathId = "zahnrad1";
inline constexpr std::string_view kGear2PathId = "zahnrad2";
// Width of the drawn line in mm: the hairline that laser and cutter software take as a cut.
inline constexpr double kSvgStrokeWidth = 0.01;
// Margin around a gear, as a share of its radius.
inline constexpr double kSvgMarginShare = 0.02;

// The part of the drawing plane an SVG document shows, in drawing units (mm), y up.
struct SvgBox {
    double minX = 0;
    double minY = 0;
    double maxX = 0;
    double maxY = 0;
};

// The square about the gear centre that holds every turned tooth of profile (its points are the
// farthest the outline reaches; the arcs between them lie closer to the centre), with a margin
// of 2 % of its radius.
SvgBox gearSvgBox(const FlankProfile& profile);

// Writes SVG documents of outlines, tooth by tooth, into a sink. The picture looks like the DXF
// drawing in a CAD program: y is flipped (a point (x, y) is written as (x, -y)).
class SvgOutlineWriter {
  public:
    // The writer formats into its own block buffer and passes whole blocks to sink, through
    // background when it is given (then writing overlaps formatting).
    explicit SvgOutlineWriter(ByteSink& sink, BackgroundWriter* background = nullptr);

    // Writes the document's head: width and height in mm, the viewBox showing box, and title
    // (plain text, escaped here). False once the sink failed.
    bool open(const SvgBox& box, std::string_view title);
    // Starts the closed path of one gear with the given id (letters, digits, '-' and '_').
    bool beginPath(std::string_view id);
    // Adds the tooth's polyline and, once the next tooth's first point is known, its root arc
    // as an elliptical-arc command.
    bool writeTooth(const OutlineTooth& tooth);
    // Ends the path with the last tooth's arc back to the first point and closes it.
    bool endPath();
    // Ends the document and hands all text to the sink; false when any write failed.
    bool close();

  private:
    // The arc of the last tooth, waiting for the point it ends at.
    struct PendingArc {
        double radius = 0;
        bool large = false;      // sweeps more than 180 degrees
        bool clockwise = false;  // in the drawing's frame (y up)
    };

    void putPoint(char command, Point2 p);
    void putArc(const PendingArc& arc, Point2 end);

    BlockBuffer m_buffer;
    bool m_inPath = false;
    bool m_hasPoint = false;
    Point2 m_firstPoint;
    PendingArc m_arc;
};

// Most bytes an SVG drawing of z1 teeth with pointCount points each can take with a title of
// titleBytes (any real values, every character of the title escaped).
std::uint64_t maxSvgBytes(std::int64_t z1, std::int64_t pointCount, std::uint64_t titleBytes);

}  // namespace kellvor
