#include "output/assembly_writer.h"

#include <algorithm>
#include <cmath>

#include "outline/gear_outline.h"

namespace kellvor {
namespace {

// Entities besides the teeth: four circles, two centre marks of two lines each, the line of
// centres and the line of action.
constexpr std::uint64_t kConstructionEntities = 10;

// The tooth's polyline as LINEs (the tip land of a pointed tooth has no length and no entity,
// as in zahnrad.dxf) and its root arc as an ARC.
void writeLinesAndArc(DxfDocumentWriter& doc, std::size_t layer, const OutlineTooth& tooth) {
    const auto points = tooth.points();
    for (std::size_t j = 1; j < points.size(); ++j) {
        if (points[j] == points[j - 1])
            continue;
        doc.line(layer, points[j - 1], points[j]);
    }
    doc.arc(layer, Point2{tooth.arcCentreX, tooth.arcCentreY}, tooth.arcRadius, tooth.arcStartAngle,
            tooth.arcEndAngle);
}

// Entities of one gear: a LINE per point but the last and an ARC per tooth, or the polyline.
std::uint64_t gearEntities(const GearOutline& g, DxfStyle style) {
    if (style == DxfStyle::cam)
        return contourEntities(g);
    return static_cast<std::uint64_t>(g.z) * static_cast<std::uint64_t>(g.profile.count());
}

void centreMark(DxfDocumentWriter& doc, Point2 c, double half) {
    doc.line(kLayerAxes, Point2{c.x - half, c.y}, Point2{c.x + half, c.y});
    doc.line(kLayerAxes, Point2{c.x, c.y - half}, Point2{c.x, c.y + half});
}

}  // namespace

AssemblyDrawing assemblyDrawing(const GearPairGeometry& geometry, double mn, GearOutline gear1,
                                GearOutline gear2, DxfStyle style) {
    AssemblyDrawing d;
    d.style = style;
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
    setup.layers = {DxfLayer{kGear1Layer, 5}, DxfLayer{kGear2Layer, 1}, DxfLayer{"TEILKREISE", 8},
                    DxfLayer{"ACHSEN", 7}, DxfLayer{"EINGRIFFSLINIE", 3}};
    // Everything of a gear lies within its outline's reach or its circles about its centre.
    const double r1 = std::max({outlineReach(d.gear1).max, d.d1 / 2, d.dw1 / 2, d.markLength});
    const double r2 = std::max({outlineReach(d.gear2).max, d.d2 / 2, d.dw2 / 2, d.markLength});
    const double half = std::max(r1, r2);
    setup.extMin = Point2{-half, -r1};
    setup.extMax = Point2{half, d.a + r2};
    // Each gear's teeth have their own number of points (a generated root gives each gear the
    // fillet elements its own curvature needs).
    setup.maxEntities =
        gearEntities(d.gear1, d.style) + gearEntities(d.gear2, d.style) + kConstructionEntities;
    return setup;
}

bool walkAssemblyTeeth(const AssemblyDrawing& d,
                       const std::function<bool(int gear, const OutlineTooth&)>& visit) {
    bool stopped = false;
    walkGearOutline(d.gear1.profile, d.gear1.arc, d.gear1.z, [&](const OutlineTooth& tooth) {
        stopped = !visit(0, tooth);
        return !stopped;
    });
    if (stopped)
        return false;
    const RigidMotion placement = gear2Placement(d.a, d.gear2.z);
    OutlineTooth placed;
    walkGearOutline(d.gear2.profile, d.gear2.arc, d.gear2.z, [&](const OutlineTooth& tooth) {
        placed = tooth;
        placeTooth(placement, placed);
        stopped = !visit(1, placed);
        return !stopped;
    });
    return !stopped;
}

bool writeAssembly(DxfDocumentWriter& doc, const AssemblyDrawing& d,
                   const ProgressCallback& progress) {
    doc.open(assemblySetup(d));
    const std::int64_t total = std::int64_t{d.gear1.z} + d.gear2.z;
    const bool cam = d.style == DxfStyle::cam;
    if (cam)
        doc.polyline(kLayerGear1);
    int current = 0;
    const bool walked = walkAssemblyTeeth(d, [&](int gear, const OutlineTooth& tooth) {
        const std::size_t layer = gear == 0 ? kLayerGear1 : kLayerGear2;
        if (cam && gear != current) {
            doc.seqend(kLayerGear1);
            doc.polyline(kLayerGear2);
            current = gear;
        }
        if (cam)
            writeContourTooth(doc, layer, tooth);
        else
            writeLinesAndArc(doc, layer, tooth);
        const std::int64_t done = (gear == 0 ? 0 : d.gear1.z) + tooth.index + 1;
        return !progress || progress(done, total);
    });
    if (!walked)
        return false;
    if (cam)
        doc.seqend(kLayerGear2);

    const Point2 centre1{0.0, 0.0};
    const Point2 centre2 = gear2Placement(d.a, d.gear2.z).offset;
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
