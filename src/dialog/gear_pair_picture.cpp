#include "dialog/gear_pair_picture.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/constants.h"
#include "geometry/gear_pair_geometry.h"
#include "outline/flank_profile.h"
#include "outline/gear_outline.h"
#include "outline/root_arc.h"

namespace kellvor {
namespace {

// The pair that is drawn: a 14-tooth pinion with some positive shift and a 31-tooth wheel, 20
// degrees of helix, face width eight modules. The module sets only the scale.
GearPairInput pictureInput() {
    return GearPairInput{14, 31, 1.0, 8.0, 20.0, 0.2, 0.0, 8};
}

// Arc steps of at most this many degrees make the root fillets smooth at the picture's scale.
constexpr double kArcStepDegrees = 6.0;
// Depth of the face width on screen per unit of length: to the right and upwards.
constexpr double kDepthX = 0.55;
constexpr double kDepthY = -0.42;
// Direction of the wheel's centre as seen from the pinion's, degrees ccw from +x (upper left).
constexpr double kCentreLineDegrees = 150.0;
constexpr int kMargin = 8;

// The closed outline of the gear "1" of input in its tooth frame: every tooth's flank polyline
// and then its root arc, sampled, to the next tooth.
std::vector<Point2> gearOutline(const GearPairInput& input, const GearPairGeometry& geometry) {
    const FlankProfile profile = buildFlankProfile(geometry, input.x1, input.segmentCount);
    const RootArc arc = fitRootArc(profile, geometry.rf1, input.z1).value_or(RootArc{});
    std::vector<Point2> outline;
    walkGearOutline(profile, arc, input.z1, [&](const OutlineTooth& tooth) {
        const auto points = tooth.points();
        outline.insert(outline.end(), points.begin(), points.end());
        double end = tooth.arcEndAngle;
        while (end < tooth.arcStartAngle)
            end += 360.0;
        const double sweep = end - tooth.arcStartAngle;
        const int steps = std::max(2, static_cast<int>(std::ceil(sweep / kArcStepDegrees)));
        for (int i = 1; i < steps; ++i) {
            const double a = (tooth.arcStartAngle + sweep * i / steps) * kDegToRad;
            outline.push_back({tooth.arcCentreX + tooth.arcRadius * std::cos(a),
                               tooth.arcCentreY + tooth.arcRadius * std::sin(a)});
        }
        return true;
    });
    return outline;
}

// One gear placed in the picture: its outline, where its centre is, how it is turned.
struct PlacedGear {
    std::vector<Point2> outline;  // tooth frame of the gear
    Point2 centre;                // world frame, y upwards
    double baseTurn = 0;          // ccw turn of the tooth frame at the front face, radians
    double twistPerDepth = 0;     // further ccw turn per unit of depth (the helix), radians
    double rootRadius = 0;
    QColor colour;
};

// The world point of a tooth-frame point of gear at depth z (0 at the front face).
Point2 place(const PlacedGear& gear, Point2 p, double z) {
    const double t = gear.baseTurn + gear.twistPerDepth * z;
    const double c = std::cos(t);
    const double s = std::sin(t);
    return {gear.centre.x + c * p.x - s * p.y + kDepthX * z,
            gear.centre.y + s * p.x + c * p.y - kDepthY * z};
}

// Maps world coordinates (y upwards) to picture pixels.
struct View {
    double scale = 1;
    double offsetX = 0;
    double offsetY = 0;

    QPointF operator()(Point2 p) const { return {offsetX + p.x * scale, offsetY - p.y * scale}; }
};

QPainterPath slicePath(const PlacedGear& gear, double z, const View& view) {
    QPainterPath path;
    bool first = true;
    for (const Point2& p : gear.outline) {
        const QPointF q = view(place(gear, p, z));
        if (first)
            path.moveTo(q);
        else
            path.lineTo(q);
        first = false;
    }
    path.closeSubpath();
    return path;
}

// Fits everything the picture shows into the picture with a margin, centred.
View fitView(const std::vector<PlacedGear>& gears, double depth) {
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const PlacedGear& gear : gears) {
        for (const double z : {0.0, depth}) {
            for (const Point2& p : gear.outline) {
                const Point2 w = place(gear, p, z);
                minX = std::min(minX, w.x);
                maxX = std::max(maxX, w.x);
                minY = std::min(minY, w.y);
                maxY = std::max(maxY, w.y);
            }
        }
    }
    View view;
    view.scale = std::min((kPictureWidth - 2 * kMargin) / (maxX - minX),
                          (kPictureHeight - 2 * kMargin) / (maxY - minY));
    view.offsetX = kPictureWidth / 2.0 - view.scale * (minX + maxX) / 2;
    view.offsetY = kPictureHeight / 2.0 + view.scale * (minY + maxY) / 2;
    return view;
}

// The side of a slice: the base colour, darker the deeper it lies, lit from the upper left.
QBrush sideBrush(const PlacedGear& gear, double shade, const QRectF& bounds) {
    QLinearGradient g(bounds.topLeft(), bounds.bottomRight());
    g.setColorAt(0.0, gear.colour.lighter(static_cast<int>(150 * shade)));
    g.setColorAt(0.5, gear.colour.darker(static_cast<int>(100 / shade)));
    g.setColorAt(1.0, gear.colour.darker(static_cast<int>(260 / shade)));
    return QBrush(g);
}

void paintFrontFace(QPainter& painter, const PlacedGear& gear, const View& view) {
    const QPainterPath face = slicePath(gear, 0.0, view);
    const QRectF bounds = face.boundingRect();
    QLinearGradient g(bounds.topLeft(), bounds.bottomRight());
    g.setColorAt(0.0, gear.colour.lighter(170));
    g.setColorAt(0.55, gear.colour.lighter(115));
    g.setColorAt(1.0, gear.colour.darker(125));
    painter.setPen(QPen(gear.colour.darker(220), 0.8));
    painter.setBrush(g);
    painter.drawPath(face);

    // A turned recess, the hub and the bore, to make the face read as a machined part.
    const QPointF c = view(place(gear, {0, 0}, 0.0));
    const double r = gear.rootRadius * view.scale;
    painter.setPen(QPen(gear.colour.darker(160), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(c, 0.78 * r, 0.78 * r);
    QRadialGradient hub(c - QPointF(0.12 * r, 0.12 * r), 0.45 * r);
    hub.setColorAt(0.0, gear.colour.lighter(180));
    hub.setColorAt(1.0, gear.colour.darker(110));
    painter.setBrush(hub);
    painter.drawEllipse(c, 0.42 * r, 0.42 * r);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 48));
    painter.drawEllipse(c, 0.2 * r, 0.2 * r);
}

}  // namespace

QImage renderGearPairPicture() {
    const GearPairInput pinionInput = pictureInput();
    // The wheel is drawn with the same outline code by swapping the roles of the two gears.
    GearPairInput wheelInput = pinionInput;
    std::swap(wheelInput.z1, wheelInput.z2);
    std::swap(wheelInput.x1, wheelInput.x2);
    const GearPairGeometry pinionGeometry = computeGearPairGeometry(pinionInput);
    const GearPairGeometry wheelGeometry = computeGearPairGeometry(wheelInput);

    // Both tooth frames have a tooth on +y. The pinion turns that tooth towards the wheel; the
    // wheel turns a gap (half a pitch past a tooth) towards the pinion, and the two centres lie
    // the working centre distance apart: the symmetric mesh without backlash. Along the face
    // width the pinion turns by b tan(beta) / r1 and the wheel back by the ratio of the tooth
    // counts, so every section is again a meshing pair: the pair of a helical gear set.
    const double line = kCentreLineDegrees * kDegToRad;
    const double tanBeta = std::tan(pinionInput.beta * kDegToRad);
    const double pinionTwist = tanBeta / (pinionGeometry.d1 / 2);
    std::vector<PlacedGear> gears(2);
    PlacedGear& pinion = gears[0];
    pinion.outline = gearOutline(pinionInput, pinionGeometry);
    pinion.centre = {0, 0};
    pinion.baseTurn = line - kHalfPi;
    pinion.twistPerDepth = pinionTwist;
    pinion.rootRadius = pinionGeometry.rf1;
    pinion.colour = QColor(96, 128, 176);
    PlacedGear& wheel = gears[1];
    wheel.outline = gearOutline(wheelInput, wheelGeometry);
    wheel.centre = {pinionGeometry.a * std::cos(line), pinionGeometry.a * std::sin(line)};
    wheel.baseTurn = line + kHalfPi + kPi / wheelInput.z1;
    wheel.twistPerDepth = -pinionTwist * pinionInput.z1 / pinionInput.z2;
    wheel.rootRadius = wheelGeometry.rf1;
    wheel.colour = QColor(184, 140, 72);

    const double depth = pinionInput.b;
    const View view = fitView(gears, depth);

    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, 0, kPictureHeight);
    ground.setColorAt(0.0, QColor(250, 250, 252));
    ground.setColorAt(1.0, QColor(214, 220, 230));
    painter.fillRect(image.rect(), ground);

    // Sections from the back face to the front, each covering the one behind it: their visible
    // rims form the shaded tooth flanks, slanted by the helix.
    const int slices = std::max(8, static_cast<int>(std::ceil(depth * view.scale * 0.9)));
    painter.setPen(Qt::NoPen);
    for (int i = slices; i > 0; --i) {
        const double z = depth * i / slices;
        const double shade = 0.75 + 0.25 * (1.0 - z / depth);
        for (const PlacedGear& gear : gears) {
            const QPainterPath path = slicePath(gear, z, view);
            painter.setBrush(sideBrush(gear, shade, path.boundingRect()));
            painter.drawPath(path);
        }
    }
    for (const PlacedGear& gear : gears)
        paintFrontFace(painter, gear, view);
    painter.end();
    return image;
}

}  // namespace kellvor
