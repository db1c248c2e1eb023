// The preview's drawing list: the outline of gear 1 scaled into a client area, as integer pixel
// operations for a raster or a window system, streamed one operation at a time.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <vector>

#include "outline/flank_profile.h"
#include "outline/progress.h"
#include "outline/root_arc.h"

namespace kellvor {

// A double pixel coordinate as int32, truncated toward zero. Values beyond the int32 range
// saturate to its nearest end; not-a-number gives INT32_MIN (far off every image, and the value
// the x86 conversion instruction yields for it).
std::int32_t toPixel(double value);

// Client area in device pixels, x right and y down; normalised (swapped) where reversed.
struct ClientRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// The kinds of drawing operation.
enum class DrawOpKind { rectangle, moveTo, lineTo, arc };

// One drawing operation in device pixels. args: rectangle (left, top, right, bottom);
// moveTo / lineTo (x, y); arc (left, top, right, bottom, xStart, yStart, xEnd, yEnd).
struct DrawOp {
    DrawOpKind kind = DrawOpKind::moveTo;
    std::array<std::int32_t, 8> args{};

    friend bool operator==(const DrawOp&, const DrawOp&) = default;
};

// Filled white, framed blue along columns left and right - 1 and rows top and bottom - 1.
DrawOp rectangleOp(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
// Makes (x, y) the current position.
DrawOp moveToOp(std::int32_t x, std::int32_t y);
// Line from the current position to (x, y), end pixel excluded; (x, y) becomes current.
DrawOp lineToOp(std::int32_t x, std::int32_t y);
// The part of the ellipse inscribed in the rectangle running counter-clockwise on the screen
// from the ray through the start point to the ray through the end point (rays from its centre).
DrawOp arcOp(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
             std::int32_t xStart, std::int32_t yStart, std::int32_t xEnd, std::int32_t yEnd);

// Writes op as e.g. "LineTo(95, 178)" (used by golden files and test messages).
std::ostream& operator<<(std::ostream& out, const DrawOp& op);

// A whole drawing held in memory, for tests and small previews.
struct PreviewDrawing {
    std::vector<DrawOp> ops;
};

// Receives each operation as soon as it is computed.
using DrawOpSink = std::function<void(const DrawOp&)>;

// Extent of the turned profile points of all teeth in the tooth frame; always holds the centre.
struct OutlineBox {
    double minX = 0;
    double maxX = 0;
    double minY = 0;
    double maxY = 0;
};

// How model lengths become pixels: centre of the client area as origin, y not flipped.
struct PreviewMapping {
    std::int64_t width = 0;   // W
    std::int64_t height = 0;  // H
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    double scale = 0;  // pixels per unit of length, the smaller ratio of client size to box
};

// The box walk: every profile point of every tooth turned through its accumulated angle.
// progress (may be empty) is called after each tooth with (k + 1, z1); its false gives nothing.
std::optional<OutlineBox> computeOutlineBox(const FlankProfile& profile, std::int32_t z1,
                                            const ProgressCallback& progress = {});

// Scale and origin that fit box into the (normalised) client area.
PreviewMapping mapPreview(const OutlineBox& box, const ClientRect& clientRect);

// Streams the preview of the z1-tooth outline into sink: the background Rectangle of the client
// area, then per tooth one MoveTo, N - 1 LineTo and one Arc, with arc the circle fitted for the
// first gap. progress (may be empty) sees the teeth of the box
// walk and then of the drawing walk, out of 2 z1; returns false when it cancelled.
bool buildPreviewDrawing(const FlankProfile& profile, const RootArc& arc, std::int32_t z1,
                         const ClientRect& clientRect, const DrawOpSink& sink,
                         const ProgressCallback& progress = {});

// The same operations collected into a list.
PreviewDrawing buildPreviewDrawing(const FlankProfile& profile, const RootArc& arc, std::int32_t z1,
                                   const ClientRect& clientRect);

}  // namespace kellvor
