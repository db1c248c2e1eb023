#include "dialog/mesh_scene.h"

#include <algorithm>
#include <cmath>

#include "geometry/constants.h"
#include "outline/contour.h"
#include "outline/outline_check.h"
#include "outline/pair_placement.h"

namespace kellvor {
namespace {

// A quarter of a device pixel: a chord that far from the drawn flank looks the same on screen.
constexpr double kInvisible = 0.25;
// Path elements of a root arc at most: eight cubic pieces of three elements.
constexpr std::size_t kArcElements = 24;

// Distance of p from the segment ab.
double toSegment(Point2 p, Point2 a, Point2 b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double ll = dx * dx + dy * dy;
    const double t = ll > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / ll, 0.0, 1.0) : 0;
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

// The kept points of a flank of count points at stride: 0, stride, 2 stride, ..., count - 1.
std::vector<std::size_t> keptPoints(std::size_t count, std::size_t stride) {
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i + 1 < count; i += stride)
        kept.push_back(i);
    kept.push_back(count - 1);
    return kept;
}

// Tooth 0 as the walk draws it: its points in visiting order and the root arc after it.
struct ToothShape {
    std::vector<Point2> points;
    ContourElement arc;
};

ToothShape toothZero(const GearOutline& outline) {
    const std::vector<ContourElement> elements =
        outlineElements(outline.profile, outline.arc, outline.z, 0, 1);
    ToothShape shape;
    shape.points.push_back(elements.front().start);
    for (std::size_t i = 0; i + 1 < elements.size(); ++i)
        shape.points.push_back(elements[i].end);
    shape.arc = elements.back();
    return shape;
}

QPointF qt(Point2 p) {
    return QPointF(p.x, p.y);
}

// The points of one level and their farthest distance from the chords that replace them.
struct Level {
    std::vector<Point2> points;
    double deviation = 0;
};

Level levelOf(const std::vector<Point2>& points, std::size_t stride) {
    // The first half of the points is one flank, the second half the other; the tip land
    // joins them.
    const std::size_t half = points.size() / 2;
    Level level;
    for (const std::size_t offset : {std::size_t{0}, half}) {
        const std::vector<std::size_t> kept = keptPoints(half, stride);
        for (std::size_t j = 0; j < kept.size(); ++j) {
            level.points.push_back(points[offset + kept[j]]);
            if (j == 0)
                continue;
            for (std::size_t i = kept[j - 1] + 1; i < kept[j]; ++i)
                level.deviation = std::max(
                    level.deviation, toSegment(points[offset + i], points[offset + kept[j - 1]],
                                               points[offset + kept[j]]));
        }
    }
    return level;
}

// Adds the ccw arc about centre from the path's current point, at startDegrees, over
// sweepDegrees to end, as cubic pieces of at most 45 degrees (within 5e-6 r of the circle) that
// meet the flanks exactly; the path's frame is y up.
void addArc(QPainterPath& path, Point2 centre, double r, double startDegrees, double sweepDegrees,
            Point2 end) {
    const int pieces = std::max(1, static_cast<int>(std::ceil(sweepDegrees / 45.0)));
    const double step = sweepDegrees / pieces * kDegToRad;
    // Control points along the tangents at 4/3 tan(step / 4) r give the standard cubic arc.
    const double k = 4.0 / 3.0 * std::tan(step / 4) * r;
    double from = startDegrees * kDegToRad;
    Point2 p0{centre.x + r * std::cos(from), centre.y + r * std::sin(from)};
    for (int i = 0; i < pieces; ++i) {
        const double to = from + step;
        const Point2 p1 = i + 1 == pieces
                              ? end
                              : Point2{centre.x + r * std::cos(to), centre.y + r * std::sin(to)};
        path.cubicTo(QPointF(p0.x - k * std::sin(from), p0.y + k * std::cos(from)),
                     QPointF(p1.x + k * std::sin(to), p1.y - k * std::cos(to)), qt(p1));
        from = to;
        p0 = p1;
    }
}

double degreesOf(Point2 centre, Point2 p) {
    return std::atan2(p.y - centre.y, p.x - centre.x) * kRadToDeg;
}

}  // namespace

std::size_t OutlinePaths::levelFor(double pixelsPerMm) const {
    std::size_t level = deviation.size();
    while (level > 1 && deviation[level - 1] * pixelsPerMm > kInvisible)
        --level;
    return level > 0 ? level - 1 : 0;
}

std::size_t OutlinePaths::wholeLevelFor(std::size_t level) const {
    // Coarser levels have fewer elements: the first with a whole outline is the finest one.
    while (level + 1 < whole.size() && whole[level].isEmpty())
        ++level;
    return level;
}

// Built once per pair and only transformed per frame: for 200 / 200 teeth with 50 elements a
// frame takes about 2 ms, 4 ms with the paths built for each frame and 8 ms with every element
// drawn at every scale (bench/mesh_frames).
OutlinePaths buildOutlinePaths(const GearOutline& outline) {
    OutlinePaths paths;
    paths.z = outline.z;
    paths.pitchDegrees = 360.0 / outline.z;
    const OutlineReach reach = outlineReach(outline);
    paths.rootRadius = reach.min;
    paths.tipRadius = reach.max;
    const ToothShape shape = toothZero(outline);
    const ContourElement& arc = shape.arc;
    const double arcStart = degreesOf(arc.centre, arc.start);
    double arcSweep = degreesOf(arc.centre, arc.end) - arcStart;
    arcSweep -= 360.0 * std::floor(arcSweep / 360.0);

    const std::size_t half = shape.points.size() / 2;
    std::vector<std::size_t> strides{1};
    while (half > 2 && strides.back() < half - 1)
        strides.push_back(std::min(2 * strides.back(), half - 1));
    for (const std::size_t stride : strides) {
        const Level level = levelOf(shape.points, stride);
        QPainterPath tooth;
        tooth.moveTo(qt(level.points.front()));
        for (std::size_t i = 1; i < level.points.size(); ++i)
            tooth.lineTo(qt(level.points[i]));
        addArc(tooth, arc.centre, arc.radius, arcStart, arcSweep, arc.end);
        paths.toothBounds = paths.toothBounds.united(tooth.controlPointRect());
        paths.tooth.push_back(tooth);
        paths.deviation.push_back(level.deviation);

        // The whole outline: each tooth is tooth 0 turned clockwise by its pitches, as the walk
        // turns it; the last gap's arc ends where the first tooth starts.
        QPainterPath whole;
        const std::size_t elements =
            static_cast<std::size_t>(outline.z) * (level.points.size() + kArcElements);
        if (elements <= kMaxWholeElements) {
            for (std::int32_t k = 0; k < outline.z; ++k) {
                const double turnDegrees = k * paths.pitchDegrees;
                const Rotation rot = clockwiseRotation(turnDegrees);
                for (std::size_t i = 0; i < level.points.size(); ++i) {
                    const QPointF p = qt(turn(rot, level.points[i]));
                    if (k == 0 && i == 0)
                        whole.moveTo(p);
                    else
                        whole.lineTo(p);
                }
                addArc(whole, turn(rot, arc.centre), arc.radius, arcStart - turnDegrees, arcSweep,
                       turn(rot, arc.end));
            }
            whole.closeSubpath();
        }
        paths.whole.push_back(whole);
    }
    return paths;
}

std::shared_ptr<const MeshScene> buildMeshScene(const GearPairInput& input, double backlash) {
    auto scene = std::make_shared<MeshScene>();
    scene->view = prepareMeshView(input, backlash);
    if (scene->view.result.ok()) {
        scene->gear1 = buildOutlinePaths(scene->view.motion.gear1);
        scene->gear2 = buildOutlinePaths(scene->view.motion.gear2);
    }
    return scene;
}

}  // namespace kellvor
