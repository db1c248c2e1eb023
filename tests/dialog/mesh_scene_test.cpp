// The mesh window's cached paths: the drawn outline at every level of detail.
#include <QPainterPath>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

#include "dialog/mesh_scene.h"
#include "outline/outline_check.h"

namespace kellvor {

class MeshSceneTest : public QObject {
    Q_OBJECT

  private slots:
    void pathsAreTheDrawnOutline_data();
    void pathsAreTheDrawnOutline();
};

// The points a path moves and draws lines to, and where its curves end, in order.
std::vector<Point2> pointsOnPath(const QPainterPath& path) {
    std::vector<Point2> points;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo() || e.isLineTo() || (i >= 2 && path.elementAt(i - 2).isCurveTo()))
            points.push_back(Point2{e.x, e.y});
    }
    return points;
}

// Distance of p from the segment ab.
double toSegment(Point2 p, Point2 a, Point2 b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double ll = dx * dx + dy * dy;
    const double t =
        ll > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / ll, 0.0, 1.0) : 0.0;
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

void MeshSceneTest::pathsAreTheDrawnOutline_data() {
    QTest::addColumn<int>("z1");
    QTest::addColumn<int>("elements");
    QTest::newRow("17 teeth, 10 elements") << 17 << 10;
    QTest::newRow("4 teeth, 0 elements") << 4 << 0;
    QTest::newRow("61 teeth, 200 elements") << 61 << 200;
}

// The finest whole path runs through every point of the drawn outline in its order; every level
// keeps each point of tooth 0 within the deviation it states, and the level chosen for a scale
// keeps that below a quarter of a pixel.
void MeshSceneTest::pathsAreTheDrawnOutline() {
    QFETCH(int, z1);
    QFETCH(int, elements);
    const MeshView view =
        prepareMeshView(GearPairInput{z1, 40, 3.0, 20.0, 10.0, 0.3, 0.0, elements}, 0.0);
    QVERIFY(view.result.ok());
    const GearOutline& g = view.motion.gear1;
    const OutlinePaths paths = buildOutlinePaths(g);

    // The points of every tooth's polyline in walk order.
    std::vector<Point2> expected;
    const std::vector<ContourElement> outline = outlineElements(g.profile, g.arc, g.z, 0, g.z);
    for (std::size_t i = 0; i < outline.size(); ++i) {
        if (outline[i].isArc)
            continue;
        expected.push_back(outline[i].start);
        if (outline[i + 1].isArc)
            expected.push_back(outline[i].end);
    }
    std::size_t next = 0;
    for (const Point2 p : pointsOnPath(paths.whole.front()))
        if (next < expected.size() &&
            std::hypot(p.x - expected[next].x, p.y - expected[next].y) < 1e-9)
            ++next;
    QCOMPARE(next, expected.size());

    const std::size_t perTooth = expected.size() / static_cast<std::size_t>(g.z);
    for (std::size_t level = 0; level < paths.tooth.size(); ++level) {
        const std::vector<Point2> kept = pointsOnPath(paths.tooth[level]);
        for (std::size_t i = 0; i < perTooth; ++i) {
            double nearest = HUGE_VAL;
            for (std::size_t j = 1; j < kept.size(); ++j)
                nearest = std::min(nearest, toSegment(expected[i], kept[j - 1], kept[j]));
            QVERIFY(nearest <= paths.deviation[level] + 1e-9);
        }
        if (level > 0)
            QVERIFY(paths.deviation[level] >= paths.deviation[level - 1]);
    }
    for (const double ppm : {0.01, 0.3, 3.0, 30.0, 3000.0}) {
        const std::size_t level = paths.levelFor(ppm);
        QVERIFY(level == 0 || paths.deviation[level] * ppm <= 0.25);
        QVERIFY(level + 1 == paths.deviation.size() || paths.deviation[level + 1] * ppm > 0.25);
    }
}

}  // namespace kellvor

QTEST_MAIN(kellvor::MeshSceneTest)
#include "mesh_scene_test.moc"
