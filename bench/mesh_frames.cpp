// The mesh window's frame time: the pair painted as the window paints it while it turns (the
// cached paths transformed, the overlap and the contact points computed for each frame), into an
// image of 1000 x 700 logical pixels at pixel ratio 1 and 2, fitted and zoomed onto the mesh; and
// the time to prepare the scene on the worker thread. Run it with QT_QPA_PLATFORM=offscreen;
// it prints the median and the slowest of 240 frames per row.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "dialog/mesh_canvas.h"
#include "dialog/mesh_scene.h"

namespace {

constexpr int kFrames = 240;
constexpr int kWidth = 1000;
constexpr int kHeight = 700;

// Paints kFrames frames with gear 1 turning a pitch in 120 frames; the median and slowest in ms.
// With rebuilt set, each frame first builds both gears' paths again instead of using the cache.
void paintFrames(kellvor::MeshCanvas& canvas, const char* name, double ratio, double pitch,
                 const std::shared_ptr<const kellvor::MeshScene>& rebuilt = {}) {
    QImage image(static_cast<int>(kWidth * ratio), static_cast<int>(kHeight * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    std::vector<double> ms;
    QElapsedTimer clock;
    for (int frame = 0; frame < kFrames; ++frame) {
        canvas.setPhi1(frame * pitch / 120.0);
        clock.start();
        if (rebuilt) {
            auto scene = std::make_shared<kellvor::MeshScene>(*rebuilt);
            scene->gear1 = kellvor::buildOutlinePaths(scene->view.motion.gear1);
            scene->gear2 = kellvor::buildOutlinePaths(scene->view.motion.gear2);
            canvas.setScene(scene);
        }
        QPainter painter(&image);
        canvas.paintFrame(painter, kWidth, kHeight, ratio);
        painter.end();
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) * 1e-6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("  %-28s ratio %.0f: median %6.2f ms, slowest %6.2f ms per frame\n", name, ratio,
                ms[ms.size() / 2], ms.back());
}

void measure(const kellvor::GearPairInput& input, const char* title) {
    QElapsedTimer clock;
    clock.start();
    const std::shared_ptr<const kellvor::MeshScene> scene = kellvor::buildMeshScene(input, 0.0);
    const double prepareMs = static_cast<double>(clock.nsecsElapsed()) * 1e-6;
    std::printf("%s: scene prepared in %.0f ms (outlines, mesh check, paths)\n", title, prepareMs);
    if (!scene->view.result.ok())
        return;
    kellvor::MeshCanvas canvas;
    canvas.resize(kWidth, kHeight);
    canvas.setScene(scene);
    const double pitch = 360.0 / input.z1;
    for (const double ratio : {1.0, 2.0})
        paintFrames(canvas, "both gears fitted", ratio, pitch);
    // What the cached paths save, and what the levels of detail save.
    paintFrames(canvas, "fitted, paths rebuilt", 1.0, pitch, scene);
    auto finest = std::make_shared<kellvor::MeshScene>(*scene);
    for (kellvor::OutlinePaths* paths : {&finest->gear1, &finest->gear2}) {
        paths->tooth.resize(1);
        paths->whole.resize(1);
        paths->deviation.resize(1);
    }
    canvas.setScene(finest);
    paintFrames(canvas, "fitted, every element", 1.0, pitch);
    canvas.setScene(scene);
    // Eight wheel notches onto the pitch point: a few teeth fill the picture.
    const QPointF at = canvas.toWidget(kellvor::Point2{0.0, scene->view.geometry.dw1 / 2});
    for (int notch = 0; notch < 8; ++notch) {
        QWheelEvent wheel(at, at, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &wheel);
    }
    for (const double ratio : {1.0, 2.0})
        paintFrames(canvas, "zoomed onto the mesh", ratio, pitch);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    measure(kellvor::GearPairInput{}, "initial values (17 / 40 teeth, 10 elements)");
    measure(kellvor::GearPairInput{200, 200, 8.0, 45.0, 20.0, 0.0, 0.0, 50},
            "200 / 200 teeth, 50 elements");
    return 0;
}
