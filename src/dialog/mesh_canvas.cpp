#include "dialog/mesh_canvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "geometry/constants.h"
#include "outline/point.h"

namespace kellvor {
namespace {

// Logical pixels left free around both gears when they are fitted.
constexpr double kFitMargin = 8;
// Zoom per wheel notch (120 units of angle delta).
constexpr double kZoomPerNotch = 1.25;
// Radius of a contact point's mark in logical pixels.
constexpr double kContactRadius = 3.5;
// Below this size in logical pixels a tooth is stroked with the whole outline.
constexpr double kTinyTooth = 4;
// Radius of the ring around an overlap too small to be seen as a red area, in logical pixels.
constexpr double kOverlapMarkRadius = 8;

// The motion of a gear's own frame as a Qt transform (points are row vectors there).
QTransform transformOf(const RigidMotion& m) {
    return QTransform(m.c, m.s, -m.s, m.c, m.offset.x, m.offset.y);
}

// A pen of one device pixel whatever the transform: the raster engine draws such lines on its
// fast path, which keeps a frame of 400 teeth within a few milliseconds.
QPen hairline(const QColor& colour) {
    QPen pen(colour);
    pen.setCosmetic(true);
    pen.setWidthF(1.0);
    return pen;
}

// The teeth k (not reduced modulo z) whose tooth and gap can show in the quadrilateral own (the
// picture's area in the gear's own frame): those about the polar angles under which the gear
// centre sees it; every tooth when the centre lies inside.
std::pair<std::int64_t, std::int64_t> teethSeen(const QPolygonF& own, double pitchDegrees,
                                                std::int32_t z) {
    if (own.containsPoint(QPointF(0, 0), Qt::OddEvenFill))
        return {0, z - 1};
    // A convex area without the centre is seen under less than 180 degrees.
    const double first = std::atan2(own[0].y(), own[0].x()) * kRadToDeg;
    double lo = 0;
    double hi = 0;
    for (const QPointF& p : own) {
        const double d = std::remainder(std::atan2(p.y(), p.x()) * kRadToDeg - first, 360.0);
        lo = std::min(lo, d);
        hi = std::max(hi, d);
    }
    // Tooth k's centre line stands at 90 - k pitch degrees; its flanks and the gap after it lie
    // within a pitch of it.
    const auto from =
        static_cast<std::int64_t>(std::ceil((90.0 - (first + hi) - pitchDegrees) / pitchDegrees));
    const auto to =
        static_cast<std::int64_t>(std::floor((90.0 - (first + lo) + pitchDegrees) / pitchDegrees));
    if (to - from + 1 >= z)
        return {0, z - 1};
    return {from, to};
}

// Fills the gear's outline and strokes its teeth that fall into area (logical pixels): each
// tooth is tooth 0's path turned, at the level of detail the scale needs. Teeth of a few pixels
// are stroked as one whole outline; a gear too large for a whole outline is filled to its root.
void drawGear(QPainter& painter, const OutlinePaths& paths, const RigidMotion& motion,
              const QTransform& view, const QRectF& area, double ratio, const QColor& fill,
              const QColor& line) {
    if (paths.tooth.empty())
        return;
    const QTransform gearView = transformOf(motion) * view;
    const double scale = std::hypot(view.m11(), view.m12());
    const std::size_t level = paths.levelFor(scale * ratio);
    const std::size_t wholeLevel = paths.wholeLevelFor(level);
    const bool hasWhole = !paths.whole[wholeLevel].isEmpty();
    painter.setTransform(gearView);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    if (hasWhole)
        painter.drawPath(paths.whole[wholeLevel]);
    else
        painter.drawEllipse(QPointF(0, 0), paths.rootRadius, paths.rootRadius);

    painter.setPen(hairline(line));
    painter.setBrush(Qt::NoBrush);
    const double toothPixels =
        std::hypot(paths.toothBounds.width(), paths.toothBounds.height()) * scale;
    if (toothPixels < kTinyTooth) {
        if (hasWhole)
            painter.drawPath(paths.whole[wholeLevel]);
        else
            painter.drawEllipse(QPointF(0, 0), paths.tipRadius, paths.tipRadius);
        return;
    }
    const QPainterPath& tooth = paths.tooth[level];
    const QPointF middle = paths.toothBounds.center();
    const double reach = 0.5 * toothPixels + 2;
    const QRectF near = area.adjusted(-reach, -reach, reach, reach);
    const auto [from, to] =
        teethSeen(gearView.inverted().map(QPolygonF(near)), paths.pitchDegrees, paths.z);
    for (std::int64_t k = from; k <= to; ++k) {
        const std::int64_t index = ((k % paths.z) + paths.z) % paths.z;
        const Rotation rot = clockwiseRotation(static_cast<double>(index) * paths.pitchDegrees);
        const Point2 c = turn(rot, Point2{middle.x(), middle.y()});
        if (!near.contains(gearView.map(QPointF(c.x, c.y))))
            continue;
        // The same turn as the walk's: x' = c x + s y, y' = c y - s x.
        painter.setTransform(QTransform(rot.c, -rot.s, rot.s, rot.c, 0, 0) * gearView);
        painter.drawPath(tooth);
    }
}

}  // namespace

MeshCanvas::MeshCanvas(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setFocusPolicy(Qt::ClickFocus);
}

void MeshCanvas::setScene(std::shared_ptr<const MeshScene> scene) {
    m_scene = std::move(scene);
    if (m_autoFit)
        fitView();
    update();
}

void MeshCanvas::setPhi1(double degrees) {
    m_phi1 = degrees;
    update();
}

PairPose MeshCanvas::pose() const {
    if (!m_scene)
        return PairPose{};
    const PairMotion& m = m_scene->view.motion;
    return pairPose(m.a, m.gear1.z, m.gear2.z, m_phi1);
}

void MeshCanvas::fit() {
    m_autoFit = true;
    fitView();
    update();
}

void MeshCanvas::fitView() {
    if (!m_scene || !m_scene->view.result.ok())
        return;
    const MeshView& v = m_scene->view;
    // Both gears as far as they reach, or their working circles if those reach farther.
    const double r1 = std::max(v.motion.reach1, v.geometry.dw1 / 2);
    const double r2 = std::max(v.motion.reach2, v.geometry.dw2 / 2);
    const double half = std::max(r1, r2);
    const double boxHeight = v.motion.a + r1 + r2;
    const double roomX = std::max(1.0, width() - 2 * kFitMargin);
    const double roomY = std::max(1.0, height() - 2 * kFitMargin);
    m_scale = std::min(roomX / (2 * half), roomY / boxHeight);
    m_centre = QPointF(0.0, 0.5 * (v.motion.a + r2 - r1));
}

QTransform MeshCanvas::view() const {
    // y up: model y grows toward the top of the widget.
    return QTransform(m_scale, 0, 0, -m_scale, 0.5 * width() - m_centre.x() * m_scale,
                      0.5 * height() + m_centre.y() * m_scale);
}

void MeshCanvas::paintFrame(QPainter& painter, double width, double height, double ratio) const {
    const QRectF area(0, 0, width, height);
    painter.fillRect(area, kMeshBackground);
    if (!m_scene || !m_scene->view.result.ok())
        return;
    const MeshView& v = m_scene->view;
    const PairMotion& m = v.motion;
    const QTransform view(m_scale, 0, 0, -m_scale, 0.5 * width - m_centre.x() * m_scale,
                          0.5 * height + m_centre.y() * m_scale);
    const PairPose now = pairPose(m.a, m.gear1.z, m.gear2.z, m_phi1);
    painter.setRenderHint(QPainter::Antialiasing);

    drawGear(painter, m_scene->gear1, now.gear1, view, area, ratio, kMeshGear1Fill, kMeshGear1Line);
    drawGear(painter, m_scene->gear2, now.gear2, view, area, ratio, kMeshGear2Fill, kMeshGear2Line);

    // The working circles, the line of centres and the line of action over the gears.
    painter.setTransform(view);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(hairline(kMeshGuides));
    painter.drawEllipse(QPointF(0, 0), v.geometry.dw1 / 2, v.geometry.dw1 / 2);
    painter.drawEllipse(QPointF(0, m.a), v.geometry.dw2 / 2, v.geometry.dw2 / 2);
    painter.drawLine(QPointF(0, 0), QPointF(0, m.a));
    painter.setPen(hairline(kMeshLineOfAction));
    painter.drawLine(QPointF(m.line.t1.x, m.line.t1.y), QPointF(m.line.t2.x, m.line.t2.y));
    if (const std::optional<Segment2> path = pathOfContact(m)) {
        QPen thick(kMeshLineOfAction);
        thick.setCosmetic(true);
        thick.setWidthF(3 * ratio);
        painter.setPen(thick);
        painter.drawLine(QPointF(path->a.x, path->a.y), QPointF(path->b.x, path->b.y));
    }

    // Where the teeth overlap, filled; computed from the drawn outlines for this frame. An
    // overlap of a few micrometres is no visible area: a ring of fixed size marks it.
    std::vector<QRectF> small;
    painter.setPen(hairline(kMeshOverlap.darker(150)));
    painter.setBrush(kMeshOverlap);
    for (const Ring& ring : toothOverlaps(m, m_phi1)) {
        QPolygonF polygon;
        for (const Point2 p : ring)
            polygon << QPointF(p.x, p.y);
        painter.drawPolygon(polygon);
        const QRectF shown = view.mapRect(polygon.boundingRect());
        if (std::max(shown.width(), shown.height()) < kOverlapMarkRadius)
            small.push_back(shown);
    }
    painter.setTransform(QTransform());
    painter.setPen(QPen(kMeshOverlap, 2.0));
    painter.setBrush(Qt::NoBrush);
    for (const QRectF& r : small)
        painter.drawEllipse(r.center(), kOverlapMarkRadius, kOverlapMarkRadius);

    // The contact points as marks of a fixed size on the line of action.
    painter.setTransform(QTransform());
    painter.setPen(QPen(Qt::white, 1.0));
    painter.setBrush(kMeshLineOfAction.darker(130));
    for (const Point2 p : contactPoints(m, m_phi1))
        painter.drawEllipse(view.map(QPointF(p.x, p.y)), kContactRadius, kContactRadius);
}

void MeshCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter, width(), height(), devicePixelRatioF());
}

void MeshCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_autoFit)
        fitView();
}

void MeshCanvas::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0 || !m_scene) {
        event->ignore();
        return;
    }
    // The model point under the cursor stays under it.
    const QPointF at = event->position();
    const QPointF model = view().inverted().map(at);
    m_scale *= std::pow(kZoomPerNotch, notches);
    m_centre = QPointF(model.x() - (at.x() - 0.5 * width()) / m_scale,
                       model.y() + (at.y() - 0.5 * height()) / m_scale);
    m_autoFit = false;
    update();
    event->accept();
}

void MeshCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_lastDrag = event->position();
    setCursor(Qt::ClosedHandCursor);
}

void MeshCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    const QPointF moved = event->position() - m_lastDrag;
    m_lastDrag = event->position();
    m_centre += QPointF(-moved.x() / m_scale, moved.y() / m_scale);
    m_autoFit = false;
    update();
}

void MeshCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        unsetCursor();
    }
}

void MeshCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        fit();
}

}  // namespace kellvor
