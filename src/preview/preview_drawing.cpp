#include "preview/preview_drawing.h"

#include <cmath>
#include <limits>
#include <ostream>
#include <utility>

#include "outline/gear_outline.h"
#include "outline/point.h"

namespace kellvor {
namespace {

ClientRect normalised(ClientRect r) {
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

// A turned point on the device.
struct DevicePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The polyline points keep the frame's bottom and right edges in reach: a pixel beyond them is
// pulled onto the last row or column, so a tooth tip that sticks out by a rounding of the scale
// stays visible. A pixel exactly on the edge (W or H) and every pixel left of or above the frame
// are handed on as they are.
DevicePoint limitedPixel(const PreviewMapping& m, Point2 p) {
    DevicePoint d{toPixel(m.originX + p.x * m.scale), toPixel(m.originY + p.y * m.scale)};
    if (d.x > m.width)
        d.x = static_cast<std::int32_t>(m.width - 1);
    if (d.y > m.height)
        d.y = static_cast<std::int32_t>(m.height - 1);
    return d;
}

// Arc corners and end points get no limit: the window system (or the raster) clips them.
DevicePoint plainPixel(const PreviewMapping& m, Point2 p) {
    return {toPixel(m.originX + p.x * m.scale), toPixel(m.originY + p.y * m.scale)};
}

const char* opName(DrawOpKind kind) {
    switch (kind) {
        case DrawOpKind::rectangle:
            return "Rectangle";
        case DrawOpKind::moveTo:
            return "MoveTo";
        case DrawOpKind::lineTo:
            return "LineTo";
        case DrawOpKind::arc:
            return "Arc";
    }
    return "?";
}

std::size_t argCount(DrawOpKind kind) {
    switch (kind) {
        case DrawOpKind::rectangle:
            return 4;
        case DrawOpKind::arc:
            return 8;
        case DrawOpKind::moveTo:
        case DrawOpKind::lineTo:
            break;
    }
    return 2;
}

}  // namespace

std::int32_t toPixel(double value) {
    // Every double strictly between these bounds truncates to an int32 (both are exact doubles).
    constexpr double kBelowMin = -2147483649.0;
    constexpr double kAboveMax = 2147483648.0;
    if (std::isnan(value) || value <= kBelowMin)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= kAboveMax)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

DrawOp rectangleOp(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return {DrawOpKind::rectangle, {left, top, right, bottom, 0, 0, 0, 0}};
}

DrawOp moveToOp(std::int32_t x, std::int32_t y) {
    return {DrawOpKind::moveTo, {x, y, 0, 0, 0, 0, 0, 0}};
}

DrawOp lineToOp(std::int32_t x, std::int32_t y) {
    return {DrawOpKind::lineTo, {x, y, 0, 0, 0, 0, 0, 0}};
}

DrawOp arcOp(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
             std::int32_t xStart, std::int32_t yStart, std::int32_t xEnd, std::int32_t yEnd) {
    return {DrawOpKind::arc, {left, top, right, bottom, xStart, yStart, xEnd, yEnd}};
}

std::ostream& operator<<(std::ostream& out, const DrawOp& op) {
    out << opName(op.kind) << '(';
    for (std::size_t i = 0; i < argCount(op.kind); ++i)
        out << (i == 0 ? "" : ", ") << op.args[i];
    return out << ')';
}

std::optional<OutlineBox> computeOutlineBox(const FlankProfile& profile, std::int32_t z1,
                                            const ProgressCallback& progress) {
    OutlineBox box;
    const double tau = 360.0 / static_cast<double>(z1);
    // The angle grows by addition, tooth by tooth, exactly as the outline walk turns its teeth,
    // so the box holds the very points that are drawn afterwards.
    double phi = 0.0;
    for (std::int32_t k = 0; k < z1; ++k) {
        const Rotation rotation = clockwiseRotation(phi);
        for (const Point2 p : profile.used()) {
            const Point2 q = turn(rotation, p);
            if (q.x < box.minX)
                box.minX = q.x;
            if (q.x > box.maxX)
                box.maxX = q.x;
            if (q.y < box.minY)
                box.minY = q.y;
            if (q.y > box.maxY)
                box.maxY = q.y;
        }
        if (progress && !progress(std::int64_t{k} + 1, z1))
            return std::nullopt;
        phi = phi + tau;
    }
    return box;
}

PreviewMapping mapPreview(const OutlineBox& box, const ClientRect& clientRect) {
    const ClientRect r = normalised(clientRect);
    PreviewMapping m;
    m.width = std::int64_t{r.right} - r.left;
    m.height = std::int64_t{r.bottom} - r.top;
    // Even for the widest rectangle half its size fits into 32 bits.
    m.originX = static_cast<std::int32_t>(m.width / 2);
    m.originY = static_cast<std::int32_t>(m.height / 2);
    const double rx = static_cast<double>(m.width) / (box.maxX - box.minX);
    const double ry = static_cast<double>(m.height) / (box.maxY - box.minY);
    m.scale = rx > ry ? ry : rx;
    return m;
}

bool buildPreviewDrawing(const FlankProfile& profile, const RootArc& arc, std::int32_t z1,
                         const ClientRect& clientRect, const DrawOpSink& sink,
                         const ProgressCallback& progress) {
    const ClientRect rect = normalised(clientRect);
    // The background goes first: it also wipes out whatever the area showed before.
    sink(rectangleOp(rect.left, rect.top, rect.right, rect.bottom));
    if (z1 < 1 || profile.count() < 1)
        return true;

    const std::int64_t total = 2 * std::int64_t{z1};
    ProgressCallback boxProgress;
    if (progress)
        boxProgress = [&](std::int64_t done, std::int64_t) { return progress(done, total); };
    const std::optional<OutlineBox> box = computeOutlineBox(profile, z1, boxProgress);
    if (!box)
        return false;
    const PreviewMapping m = mapPreview(*box, rect);

    const double tau = 360.0 / static_cast<double>(z1);
    const Point2 lowerEndOfSecondFlank = profile.used().back();
    bool cancelled = false;
    walkGearOutline(profile, arc, z1, [&](const OutlineTooth& tooth) {
        const auto points = tooth.points();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const DevicePoint d = limitedPixel(m, points[i]);
            sink(i == 0 ? moveToOp(d.x, d.y) : lineToOp(d.x, d.y));
        }
        // The gap after this tooth: from its last point round to the first point of the next
        // tooth, which is the second flank's lower end turned one pitch further (after the last
        // tooth that is the first point of tooth 0, so the contour closes).
        const double xc = tooth.arcCentreX;
        const double yc = tooth.arcCentreY;
        const double r = tooth.arcRadius;
        DevicePoint end = plainPixel(m, points.back());
        DevicePoint start =
            plainPixel(m, turn(clockwiseRotation(tooth.angle + tau), lowerEndOfSecondFlank));
        // The root circle about the gear centre runs the other way round (y is not flipped, so
        // the model's clockwise is counter-clockwise on the screen).
        if (tooth.arcClockwise)
            std::swap(start, end);
        sink(arcOp(toPixel(m.originX + (xc - r) * m.scale), toPixel(m.originY + (yc - r) * m.scale),
                   toPixel(m.originX + (xc + r) * m.scale), toPixel(m.originY + (yc + r) * m.scale),
                   start.x, start.y, end.x, end.y));
        if (progress && !progress(std::int64_t{z1} + tooth.index + 1, total)) {
            cancelled = true;
            return false;
        }
        return true;
    });
    return !cancelled;
}

PreviewDrawing buildPreviewDrawing(const FlankProfile& profile, const RootArc& arc, std::int32_t z1,
                                   const ClientRect& clientRect) {
    PreviewDrawing drawing;
    buildPreviewDrawing(profile, arc, z1, clientRect,
                        [&](const DrawOp& op) { drawing.ops.push_back(op); });
    return drawing;
}

}  // namespace kellvor
