#include "preview/pair_preview.h"

#include <algorithm>
#include <cmath>

#include "geometry/constants.h"
#include "outline/gear_outline.h"
#include "preview/antialiased_painter.h"

namespace kellvor {
namespace {

// Pixels left free at each edge, so that antialiased edges stay whole.
constexpr double kMargin = 2;

// Model (mm, y up) to device pixels (y down), the model's box centred in the picture.
struct PairMapping {
    double scale = 1;
    double originX = 0;  // device x of model x = 0
    double originY = 0;  // device y of model y = 0

    Point2 operator()(Point2 p) const { return {originX + p.x * scale, originY - p.y * scale}; }
};

PairMapping fit(const PairPicture& p, std::int32_t width, std::int32_t height) {
    const double r1 = std::max(outlineReach(p.gear1).max, p.dw1 / 2);
    const double r2 = std::max(outlineReach(p.gear2).max, p.dw2 / 2);
    const double half = std::max(r1, r2);
    const double boxWidth = 2 * half;
    const double boxHeight = p.a + r1 + r2;
    const double room = std::max(1.0, width - 1 - 2 * kMargin);
    const double roomY = std::max(1.0, height - 1 - 2 * kMargin);
    PairMapping m;
    m.scale = std::min(room / boxWidth, roomY / boxHeight);
    m.originX = (width - 1) / 2.0;
    // The box runs from -r1 to a + r2 in model y; its middle goes to the picture's middle.
    m.originY = (height - 1) / 2.0 + (p.a + r2 - r1) / 2 * m.scale;
    return m;
}

// Strokes one gear's outline through place (model frame) and the mapping; false when the
// progress callback stopped it.
template <typename Place>
bool strokeGear(AntialiasedPainter& painter, const GearOutline& outline, Place place,
                double turnDegrees, const PairMapping& map, const ProgressCallback& progress,
                std::int64_t done, std::int64_t total) {
    bool stopped = false;
    walkGearOutline(outline.profile, outline.arc, outline.z, [&](const OutlineTooth& tooth) {
        const auto points = tooth.points();
        for (std::size_t j = 1; j < points.size(); ++j)
            painter.line(map(place(points[j - 1])), map(place(points[j])));
        // A ccw arc in the model (y up) runs clockwise on the screen: from the end's mirrored
        // direction over the same sweep.
        double sweep = tooth.arcEndAngle - tooth.arcStartAngle;
        sweep -= 360.0 * std::floor(sweep / 360.0);
        const double end = (tooth.arcEndAngle + turnDegrees) * kDegToRad;
        painter.arc(map(place(Point2{tooth.arcCentreX, tooth.arcCentreY})),
                    tooth.arcRadius * map.scale, -end, sweep * kDegToRad);
        if (progress && !progress(done + tooth.index + 1, total)) {
            stopped = true;
            return false;
        }
        return true;
    });
    return !stopped;
}

}  // namespace

std::optional<RgbImage> paintPairPicture(const PairPicture& p, std::int32_t width,
                                         std::int32_t height, const ProgressCallback& progress) {
    RgbImage image = makeRgbImage(width, height, kPairBackground);
    if (image.rgb.empty())
        return image;
    const PairMapping map = fit(p, width, height);
    AntialiasedPainter painter(image);
    const RigidMotion placement = gear2Placement(p.a, p.gear2.z);

    painter.beginStroke(kPairWorkingCircles);
    painter.arc(map(Point2{0.0, 0.0}), p.dw1 / 2 * map.scale, 0.0, 2 * kPi);
    painter.arc(map(placement.offset), p.dw2 / 2 * map.scale, 0.0, 2 * kPi);
    painter.endStroke();

    const std::int64_t total = std::int64_t{p.gear1.z} + p.gear2.z;
    painter.beginStroke(kPairGear1);
    if (!strokeGear(
            painter, p.gear1, [](Point2 q) { return q; }, 0.0, map, progress, 0, total))
        return std::nullopt;
    painter.endStroke();
    painter.beginStroke(kPairGear2);
    const auto placed = [&](Point2 q) { return apply(placement, q); };
    if (!strokeGear(painter, p.gear2, placed, placement.degrees, map, progress, p.gear1.z, total))
        return std::nullopt;
    painter.endStroke();
    return image;
}

}  // namespace kellvor
