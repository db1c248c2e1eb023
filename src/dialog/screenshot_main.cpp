// kellvor-screenshots: the pictures of the dialog for the README, taken from the real program in
// whatever display it runs on (scripts/screenshots.sh starts it in a virtual X server).
// Usage: kellvor-screenshots FOLDER
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <cstdio>

#include "dialog/gear_dlg.h"
#include "dialog/mesh_canvas.h"
#include "dialog/mesh_window.h"
#include "dialog/options_panel.h"
#include "dialog/preview_scheduler.h"

namespace {

// Lets the window paint and the live preview finish.
void settle(kellvor::CGearDlg& dlg) {
    QEventLoop loop;
    for (int i = 0; i < 100 && (i < 5 || dlg.previewScheduler()->busy()); ++i) {
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// Types text into field step as a user does, so that it is checked and the preview follows.
void type(kellvor::CGearDlg& dlg, std::size_t step, const QString& text) {
    QLineEdit* field = dlg.field(step);
    field->setText(text);
    emit field->textEdited(text);
}

bool save(kellvor::CGearDlg& dlg, const QDir& folder, const char* name, QWidget* window = nullptr) {
    settle(dlg);
    for (int i = 0; i < 100 && dlg.meshWindow() != nullptr && dlg.meshWindow()->busy(); ++i)
        settle(dlg);
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!(window != nullptr ? window : &dlg)->grab().save(path)) {
        std::fprintf(stderr, "kellvor-screenshots: %s kann nicht geschrieben werden\n",
                     qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: kellvor-screenshots ORDNER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    // The pictures show the initial options, whatever the user keeps.
    QTemporaryDir settings;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());

    kellvor::CGearDlg dlg;
    dlg.show();
    // A small helical pinion that the checks have something to say about.
    type(dlg, 0, QStringLiteral("12"));
    type(dlg, 5, QStringLiteral("0,2"));
    if (!save(dlg, folder, "dialog.png"))
        return 1;
    dlg.optionsPanel()->toggle()->click();
    if (!save(dlg, folder, "dialog_options.png"))
        return 1;
    dlg.optionsPanel()->toggle()->click();

    // The mesh window of a pair with both shifts at -0.5, whose drawn teeth interfere where the
    // gear relations see nothing: at the step the check names, zoomed onto the mesh.
    type(dlg, 0, QStringLiteral("20"));
    type(dlg, 4, QStringLiteral("30"));
    type(dlg, 5, QStringLiteral("-0,5"));
    type(dlg, 6, QStringLiteral("-0,5"));
    dlg.OnShowMesh();
    kellvor::MeshWindow* mesh = dlg.meshWindow();
    mesh->resize(1040, 700);
    settle(dlg);
    while (mesh->busy())
        settle(dlg);
    mesh->showPlaceButton()->click();
    kellvor::MeshCanvas* canvas = mesh->canvas();
    const QPointF pitch =
        canvas->toWidget(kellvor::Point2{0.0, mesh->scene()->view.geometry.dw1 / 2});
    for (int notch = 0; notch < 8; ++notch) {
        QWheelEvent wheel(pitch, canvas->mapToGlobal(pitch), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
    }
    if (!save(dlg, folder, "mesh_window.png", mesh))
        return 1;
    return 0;
}
