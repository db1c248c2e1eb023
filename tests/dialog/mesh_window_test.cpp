// The mesh window: opened from the dialog, following its values, turning the pair, fitting the
// view, and showing the command line's mesh check and the disagreement with the findings; driven
// on the offscreen platform.
#include <QContextMenuEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "dialog/mesh_canvas.h"
#include "dialog/mesh_window.h"
#include "dialog_driver.h"
#include "geometry/constants.h"
#include "modal_answerer.h"

namespace kellvor {

using namespace test;

class MeshWindowTest : public QObject, private DialogDriver {
    Q_OBJECT

  private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void opensFromButtonAndMenuAndFollowsTheValues_data();
    void opensFromButtonAndMenuAndFollowsTheValues();
    void sliderTurnsGear2ByTheRatio_data();
    void sliderTurnsGear2ByTheRatio();
    void doubleClickFitsBothGears();
    void playTurnsAndTheSliderStopsIt();
    void checkEqualsTheCommandLines_data();
    void checkEqualsTheCommandLines();
    void disagreementLine_data();
    void disagreementLine();
    void showPlaceMarksTheOverlapRed();
    void pairWithoutWorkingAngleSaysWhy();

  private:
    // Opens the window with "Eingriff…" and waits for the pair of the fields.
    MeshWindow* openWindow();
    // Types the comma-separated values into fields from z1 on and waits for the window.
    void typeValues(MeshWindow* window, const QStringList& values);
};

// Lets the window prepare the newest values.
bool settled(MeshWindow* window) {
    return QTest::qWaitFor([&] { return !window->busy() && window->scene() != nullptr; }, 20000);
}

MeshWindow* MeshWindowTest::openWindow() {
    click(QString::fromUtf8("Eingriff…"));
    MeshWindow* window = m_dlg->meshWindow();
    if (window == nullptr || !window->isVisible() || !settled(window))
        return nullptr;
    return window;
}

void MeshWindowTest::typeValues(MeshWindow* window, const QStringList& values) {
    for (qsizetype i = 0; i < values.size(); ++i)
        type(static_cast<std::size_t>(i), values[i]);
    QVERIFY(settled(window));
}

// The colour of the canvas's picture at a model point (mm).
QColor shownColour(MeshCanvas* canvas, const QImage& picture, Point2 model) {
    const QPointF at = canvas->toWidget(model) * picture.devicePixelRatio();
    return picture.pixelColor(static_cast<int>(std::floor(at.x())),
                              static_cast<int>(std::floor(at.y())));
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

// The darkest (in green) of the 3 x 3 pixels about a point of the picture (device pixels).
QColor darkestAbout(const QImage& picture, QPointF at) {
    QColor darkest = Qt::white;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QColor c = picture.pixelColor(static_cast<int>(std::floor(at.x())) + dx,
                                                static_cast<int>(std::floor(at.y())) + dy);
            if (c.green() < darkest.green())
                darkest = c;
        }
    return darkest;
}

// The point at radius r in the direction psi degrees ccw from +y about centre.
Point2 polar(Point2 centre, double r, double psiDegrees) {
    const double t = psiDegrees * kDegToRad;
    return Point2{centre.x - r * std::sin(t), centre.y + r * std::cos(t)};
}

// Checks the picture against where the teeth must stand at phi1: gear 1's tooth 0 points along
// +y turned ccw by phi1; gear 2 has a gap facing gear 1 (at 180 degrees) turned clockwise by
// phi1 z1 / z2. Every tooth and gap shown away from the other gear has its gear's fill or none.
// Returns how many teeth were seen.
int checkTeeth(MeshCanvas* canvas, const MeshView& v, double phi1) {
    const QImage picture = canvas->grab().toImage();
    const QRectF inside = QRectF(canvas->rect()).adjusted(3, 3, -3, -3);
    const double tau1 = 360.0 / v.input.z1;
    const double tau2 = 360.0 / v.input.z2;
    const Point2 c1{0.0, 0.0};
    const Point2 c2{0.0, v.geometry.a};
    struct Gear {
        Point2 centre;
        Point2 other;
        double otherReach;
        double probe;  // a radius between root and reference circle
        double tip;    // the tip circle, where the outline's stroke crosses the centre line
        double tooth;  // direction of one tooth's centre line
        double pitch;
        QColor fill;
    };
    const Gear gears[] = {
        {c1, c2, v.motion.reach2, v.geometry.d1 / 2 - 0.6 * v.input.mn, v.motion.reach1, phi1, tau1,
         kMeshGear1Fill},
        {c2, c1, v.motion.reach1, v.geometry.d2 / 2 - 0.6 * v.input.mn, v.motion.reach2,
         180.0 - phi1 * v.input.z1 / v.input.z2 + 0.5 * tau2, tau2, kMeshGear2Fill}};
    int seen = 0;
    for (const Gear& g : gears) {
        const int z = static_cast<int>(std::lround(360.0 / g.pitch));
        for (int k = 0; k < z; ++k) {
            const Point2 tooth = polar(g.centre, g.probe, g.tooth + k * g.pitch);
            const Point2 gap = polar(g.centre, g.probe, g.tooth + (k + 0.5) * g.pitch);
            const Point2 tip = polar(g.centre, g.tip, g.tooth + k * g.pitch);
            bool shown = true;
            for (const Point2 p : {tooth, gap, tip})
                shown = shown && inside.contains(canvas->toWidget(p)) &&
                        std::hypot(p.x - g.other.x, p.y - g.other.y) > g.otherReach + v.input.mn;
            if (!shown)
                continue;
            ++seen;
            const QColor t = shownColour(canvas, picture, tooth);
            const QColor o = shownColour(canvas, picture, gap);
            // The stroke of one device pixel darkens the pixels about it, far below fill and
            // background in green (the stroker may centre it half a pixel off).
            const QColor s =
                darkestAbout(picture, canvas->toWidget(tip) * picture.devicePixelRatio());
            if (!near(t, g.fill) || !near(o, kMeshBackground) || s.green() > 150) {
                qWarning("tooth %d: %s, gap %s, tip %s", k, qPrintable(t.name()),
                         qPrintable(o.name()), qPrintable(s.name()));
                return -1;
            }
        }
    }
    return seen;
}

void MeshWindowTest::opensFromButtonAndMenuAndFollowsTheValues_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("button") << false;
    QTest::newRow("context menu") << true;
}

void MeshWindowTest::opensFromButtonAndMenuAndFollowsTheValues() {
    QFETCH(bool, fromMenu);
    type(0, "23");
    QVERIFY(m_dlg->meshWindow() == nullptr);
    if (fromMenu) {
        ModalAnswerer answerer(QString(), QString::fromUtf8("Eingriff…"));
        QLabel* label = m_dlg->findChildren<QLabel*>().front();
        const QPoint at = label->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, label->mapToGlobal(at));
        QApplication::sendEvent(label, &event);
        QTRY_VERIFY(m_dlg->meshWindow() != nullptr);
        QCOMPARE(answerer.seen().front().className, QString("QMenu"));
    } else {
        click(QString::fromUtf8("Eingriff…"));
    }
    MeshWindow* window = m_dlg->meshWindow();
    QVERIFY(window->isVisible());
    QVERIFY(window->isWindow());
    QCOMPARE(window->windowTitle(), QString::fromUtf8("Kellvor – Eingriff"));
    QVERIFY(settled(window));
    QCOMPARE(window->scene()->view.input.z1, 23);
    // Every valid change reaches the window; a refused value leaves the last pair shown.
    typeValues(window, {"19", "41"});
    QCOMPARE(window->scene()->view.input.z1, 19);
    QCOMPARE(window->scene()->view.input.z2, 41);
    type(0, "3");
    QTest::qWait(300);
    QVERIFY(!window->busy());
    QCOMPARE(window->scene()->view.input.z1, 19);
}

void MeshWindowTest::sliderTurnsGear2ByTheRatio_data() {
    QTest::addColumn<int>("value");  // slider steps, a thousandth of a degree each
    QTest::newRow("start") << 0;
    // Gear 2 a quarter of its pitch on: turned the wrong way it would show a gap for a tooth.
    QTest::newRow("quarter pitch of gear 2") << 5294;
    QTest::newRow("most of a turn") << 301234;
}

// Gear 1 turns ccw by phi1, gear 2 clockwise by phi1 z1 / z2 from the assembly, where a gap of
// gear 2 faces tooth 0 of gear 1: a tooth of each, away from the mesh, is where the picture shows
// its gear's fill, and the gap beside it is empty.
void MeshWindowTest::sliderTurnsGear2ByTheRatio() {
    QFETCH(int, value);
    MeshWindow* window = openWindow();
    QVERIFY(window != nullptr);
    window->slider()->setValue(value);
    const double phi1 = value / 1000.0;
    QCOMPARE(window->phi1(), phi1);
    const MeshView& v = window->scene()->view;
    const double turn2 = phi1 * v.input.z1 / v.input.z2;

    // Both gears fitted: every tooth away from the mesh is seen.
    const int seen = checkTeeth(window->canvas(), v, phi1);
    QVERIFY2(seen >= v.input.z1 + v.input.z2 - 10, qPrintable(QString::number(seen)));
    // The window's model says the same.
    QCOMPARE(window->canvas()->pose().gear2.degrees, 180.0 + 180.0 / v.input.z2 - turn2);
}

void MeshWindowTest::doubleClickFitsBothGears() {
    MeshWindow* window = openWindow();
    QVERIFY(window != nullptr);
    MeshCanvas* canvas = window->canvas();
    const MeshView& v = window->scene()->view;
    // The box of both gears in widget pixels.
    const auto box = [&] {
        const double r1 = v.motion.reach1;
        const double r2 = v.motion.reach2;
        const double half = std::max(r1, r2);
        return QRectF(canvas->toWidget(Point2{-half, v.motion.a + r2}),
                      canvas->toWidget(Point2{half, -r1}));
    };
    const QRectF inside = QRectF(canvas->rect()).adjusted(-0.5, -0.5, 0.5, 0.5);
    QVERIFY(canvas->fitted());
    QVERIFY(inside.contains(box()));

    // Six wheel notches toward the top of gear 2, whose centre leaves the picture, and a drag
    // to the right.
    const Point2 top{0.0, v.geometry.a + v.geometry.d2 / 2};
    const QPointF cursor = canvas->toWidget(top);
    for (int notch = 0; notch < 6; ++notch) {
        QWheelEvent wheel(cursor, canvas->mapToGlobal(cursor), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
    }
    QVERIFY(!canvas->fitted());
    QVERIFY(canvas->toWidget(Point2{0.0, v.geometry.a}).y() > 1.2 * canvas->height());
    // Zoomed, the teeth in the picture are where they belong.
    QVERIFY(checkTeeth(canvas, v, 0.0) >= 3);
    // The point under the cursor stayed there.
    const QPointF after = canvas->toWidget(top);
    QVERIFY(std::hypot(after.x() - cursor.x(), after.y() - cursor.y()) < 1e-6);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(canvas, QPoint(160, 130));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(160, 130));
    const QPointF dragged = canvas->toWidget(top);
    QVERIFY(std::hypot(dragged.x() - after.x() - 60, dragged.y() - after.y() - 30) < 1e-6);
    QVERIFY(!inside.contains(box()));

    QTest::mouseDClick(canvas, Qt::LeftButton, {}, QPoint(200, 200));
    QVERIFY(canvas->fitted());
    const QRectF fitted = box();
    QVERIFY(inside.contains(fitted));
    QVERIFY(fitted.width() > 0.9 * canvas->width() || fitted.height() > 0.9 * canvas->height());
    // Both gears are in the picture: each one's fill near its far end.
    const QImage picture = canvas->grab().toImage();
    const double probe2 = v.geometry.d2 / 2 - 2.0 * v.input.mn;
    QVERIFY(
        near(shownColour(canvas, picture, Point2{0.0, -0.5 * v.geometry.d1 / 2}), kMeshGear1Fill));
    QVERIFY(near(shownColour(canvas, picture, Point2{0.0, v.geometry.a + probe2}), kMeshGear2Fill));
}

void MeshWindowTest::playTurnsAndTheSliderStopsIt() {
    MeshWindow* window = openWindow();
    QVERIFY(window != nullptr);
    QVERIFY(!window->playing());
    QTest::mouseClick(window->playButton(), Qt::LeftButton);
    QVERIFY(window->playing());
    QCOMPARE(window->playButton()->text(), QString("Anhalten"));
    QTRY_VERIFY(window->slider()->value() > 0);
    QTRY_VERIFY(window->phi1() > 0.01);
    emit window->slider()->sliderPressed();
    QVERIFY(!window->playing());
    QCOMPARE(window->playButton()->text(), QString("Abspielen"));
    const double stopped = window->phi1();
    QTest::qWait(100);
    QCOMPARE(window->phi1(), stopped);
}

void MeshWindowTest::checkEqualsTheCommandLines_data() {
    QTest::addColumn<QStringList>("values");  // z1 .. segments as typed
    QTest::addColumn<double>("backlash");
    const QStringList initial{"17", "40", "8", "45", "20", "0", "0", "10"};
    QTest::newRow("initial values") << initial << 0.0;
    QTest::newRow("initial values, jn 0.15") << initial << 0.15;
    QTest::newRow("pinion of 12 teeth")
        << QStringList{"12", "40", "8", "45", "20", "0", "0", "10"} << 0.0;
    QTest::newRow("interfering, 50 elements")
        << QStringList{"14", "40", "2,5", "45", "30", "0", "-0,5", "50"} << 0.05;
}

// Every line of eingriff.txt that kellvor-cli --pair writes for the same values is shown, jt
// min and max included, with the same six digits.
void MeshWindowTest::checkEqualsTheCommandLines() {
    QFETCH(QStringList, values);
    QFETCH(double, backlash);
    MeshWindow* window = openWindow();
    QVERIFY(window != nullptr);
    typeValues(window, values);
    if (backlash != 0) {
        window->setPair(window->scene()->view.input, backlash);
        QVERIFY(settled(window));
    }

    const QString cli = qEnvironmentVariable("KELLVOR_CLI");
    QVERIFY2(!cli.isEmpty(), "KELLVOR_CLI names kellvor-cli");
    const QStringList options{"--z1",   "--z2", "--mn", "--b",
                              "--beta", "--x1", "--x2", "--segments"};
    QStringList arguments{"--pair", "--output-dir", path("cli"), "--backlash",
                          QString::number(backlash, 'g', 17)};
    for (qsizetype i = 0; i < options.size(); ++i)
        arguments << options[i] << QString(values[i]).replace(',', '.');
    QVERIFY(QDir(m_dir->path()).mkdir("cli"));
    QProcess run;
    run.start(cli, arguments);
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 0);

    const QStringList lines =
        QString::fromUtf8(fileBytes(path("cli/eingriff.txt"))).split('\n', Qt::SkipEmptyParts);
    const QStringList labels{"a", "jn", "jtSoll", "jtMin", "jtMax", "c1", "c2"};
    QCOMPARE(lines.size(), labels.size() + 1);
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const QString written = lines[i].section('=', 1);
        QString shown = window->findChild<QLabel*>(labels[i])->text();
        shown.replace(',', '.').remove(" mm");
        QCOMPARE(shown, written);
    }
    const QString interference = lines.back().section('=', 1);
    const QString shown = window->findChild<QLabel*>("interference")->text().replace(',', '.');
    if (interference == "keine")
        QCOMPARE(shown, QString("keine"));
    else
        QCOMPARE(shown, QString::fromUtf8("ab φ1 = %1°").arg(lines.back().section('=', 2)));
}

void MeshWindowTest::disagreementLine_data() {
    QTest::addColumn<QStringList>("values");  // z1 .. x2 as typed
    QTest::addColumn<QString>("line");        // part of the line; empty: no line
    QTest::newRow("initial values")
        << QStringList{"17", "40", "8", "45", "20", "0", "0"} << QString();
    QTest::newRow("pinion of 12 teeth")
        << QStringList{"12", "40", "8", "45", "20", "0", "0"}
        << QString::fromUtf8(
               "Die Befunde sehen eine Eingriffsstörung, die gezeichneten Konturen laufen "
               "störungsfrei: maßgebend ist die Zeichnung, denn sie wird gefertigt.");
    QTest::newRow("wheel shifted by -0.5")
        << QStringList{"14", "40", "8", "45", "30", "0", "-0,5"}
        << QString::fromUtf8("Die gezeichneten Konturen stören sich ab φ1 = 6,28571°");
}

// The pairs were found with both computations; the drawn outlines' side is measured again
// independently by tests/data/mesh_reference.py.
void MeshWindowTest::disagreementLine() {
    QFETCH(QStringList, values);
    QFETCH(QString, line);
    MeshWindow* window = openWindow();
    QVERIFY(window != nullptr);
    typeValues(window, values);
    QLabel* shown = window->disagreementLine();
    QCOMPARE(shown->isVisible(), !line.isEmpty());
    QVERIFY2(shown->text().contains(line), qPrintable(shown->text()));
    if (line.isEmpty())
        QVERIFY(shown->text().isEmpty());
}

// At the step where the check finds no free turn, the teeth overlap in the rolling position: the
// picture marks it in red.
void MeshWindowTest::showPlaceMarksTheOverlapRed() {
    MeshWindow* window = openWindow();
    QVERIFY(window != nullptr);
    QVERIFY(!window->showPlaceButton()->isEnabled());
    const auto redPixels = [&] {
        const QImage picture = window->canvas()->grab().toImage();
        int red = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                red += near(picture.pixelColor(x, y), kMeshOverlap) ? 1 : 0;
        return red;
    };
    QCOMPARE(redPixels(), 0);
    typeValues(window, {"20", "40", "8", "45", "30", "-0,5", "-0,5"});
    QVERIFY(window->showPlaceButton()->isEnabled());
    QTest::mouseClick(window->showPlaceButton(), Qt::LeftButton);
    QCOMPARE(window->phi1(), *window->scene()->view.check.interferencePhi1);
    QVERIFY(redPixels() > 10);
}

void MeshWindowTest::pairWithoutWorkingAngleSaysWhy() {
    MeshWindow* window = openWindow();
    QVERIFY(window != nullptr);
    typeValues(window, {"4", "4", "8", "45", "0", "-0,5", "-0,5"});
    QVERIFY2(window->statusLine()->text().contains("keinen Betriebseingriffswinkel"),
             qPrintable(window->statusLine()->text()));
    QVERIFY(!window->slider()->isEnabled());
    QCOMPARE(window->findChild<QLabel*>("jtMin")->text(), QString::fromUtf8("–"));
}

}  // namespace kellvor

QTEST_MAIN(kellvor::MeshWindowTest)
#include "mesh_window_test.moc"
