#include "output/assembly_writer.h"

#include <algorithm>
#include <cmath>

#include "outline/gear_outline.h"

namespace kellvor {
namespace {

// Entities besides the teeth: four circles, two centre marks of two lines each, the line of
// centres and the line of action.
constexpr std::uint64_t kConstructionEntities = 10;

// Writes every tooth of outline through place (points) and turn (arc angles); false when the
// progress callback stopped it.
template <typename Place, typename Turn>
bool writeGear(DxfDocumentWriter& doc, std::size_t layer, const GearOutline& outline, Place place,
               Turn turn, const ProgressCallback& progress, std::int64_t done, std::int64_t total) {
    bool stopped = false;
    walkGearOutline(outline.profile, outline.arc, outline.z, [&](const OutlineTooth& tooth) {
        const auto points = tooth.points();
        for (std::size_t j = 1; j < points.size(); ++j) {
            // The tip land of a pointed tooth has no length and no entity, as in zahnrad.dxf.
            if (points[j].x == points[j - 1].x && points[j].y == points[j - 1].y)
                continue;
            doc.line(layer, place(points[j - 1]), place(points[j]));
        }
        doc.arc(layer, place(Point2{tooth.arcCentreX, tooth.arcCentreY}), tooth.arcRadius,
                turn(tooth.arcStartAngle), turn(tooth.arcEndAngle));
        if (progress && !progress(done + tooth.index + 1, total)) {
            stopped = true;
            return false;
        }
        return true;
    });
    return !stopped;
}

void centreMark(DxfDocumentWriter& doc, Point2 c, double half) {
    doc.line(kLayerAxes, Point2{c.x - half, c.y}, Point2{c.x + half, c.y});
    doc.line(kLayerAxes, Point2{c.x, c.y - half}, Point2{c.x, c.y + half});
}

}  // namespace

AssemblyDrawing assemblyDrawing(const GearPairGeometry& geometry, double mn, GearOutline gear1,
                                GearOutline gear2) {
    AssemblyDrawing d;
    d.gear1 = std::move(gear1);
    d.gear2 = std::move(gear2);
    d.a = geometry.a;
    d.d1 = geometry.d1;
    d.d2 = geometry.d2;
    d.dw1 = geometry.dw1;
    d.dw2 = geometry.dw2;
    // A module each way: the size of a tooth, visible at any scale that shows the teeth.
    d.markLength = mn;
    d.lineOfAction = lineOfAction(geometry.db1 / 2, geometry.db2 / 2, geometry.a, geometry.alphawt);
    return d;
}

DxfDocumentSetup assemblySetup(const AssemblyDrawing& d) {
    DxfDocumentSetup setup;
    setup.layers = {DxfLayer{"ZAHNRAD1", 5}, DxfLayer{"ZAHNRAD2", 1}, DxfLayer{"TEILKREISE", 8},
                    DxfLayer{"ACHSEN", 7}, DxfLayer{"EINGRIFFSLINIE", 3}};
    // Everything of a gear lies within its outline's reach or its circles about its centre.
    const double r1 = std::max({outlineReach(d.gear1).max, d.d1 / 2, d.dw1 / 2, d.markLength});
    const double r2 = std::max({outlineReach(d.gear2).max, d.d2 / 2, d.dw2 / 2, d.markLength});
    const double half = std::max(r1, r2);
    setup.extMin = Point2{-half, -r1};
    setup.extMax = Point2{half, d.a + r2};
    // Each gear's teeth have their own number of points (a generated root gives each gear the
    // fillet elements its own curvature needs).
    const auto entities = [](const GearOutline& g) {
        return static_cast<std::uint64_t>(g.z) * static_cast<std::uint64_t>(g.profile.count());
    };
    setup.maxEntities = entities(d.gear1) + entities(d.gear2) + kConstructionEntities;
    return setup;
}

bool writeAssembly(DxfDocumentWriter& doc, const AssemblyDrawing& d,
                   const ProgressCallback& progress) {
    doc.open(assemblySetup(d));
    const std::int64_t total = std::int64_t{d.gear1.z} + d.gear2.z;
    const auto same = [](Point2 p) { return p; };
    const auto sameAngle = [](double degrees) { return degrees; };
    if (!writeGear(doc, kLayerGear1, d.gear1, same, sameAngle, progress, 0, total))
        return false;
    const RigidMotion placement = gear2Placement(d.a, d.gear2.z);
    const auto placed = [&](Point2 p) { return apply(placement, p); };
    const auto turned = [&](double degrees) { return applyToAngle(placement, degrees); };
    if (!writeGear(doc, kLayerGear2, d.gear2, placed, turned, progress, d.gear1.z, total))
        return false;

    const Point2 centre1{0.0, 0.0};
    const Point2 centre2 = placement.offset;
    doc.circle(kLayerPitchCircles, centre1, d.d1 / 2);
    doc.circle(kLayerPitchCircles, centre1, d.dw1 / 2);
    doc.circle(kLayerPitchCircles, centre2, d.d2 / 2);
    doc.circle(kLayerPitchCircles, centre2, d.dw2 / 2);
    centreMark(doc, centre1, d.markLength);
    centreMark(doc, centre2, d.markLength);
    doc.line(kLayerAxes, centre1, centre2);
    doc.line(kLayerLineOfAction, d.lineOfAction.t1, d.lineOfAction.t2);
    return doc.close();
}

}  // namespace kellvor
