// The dialog driven as a user drives it, on the offscreen platform, in a working folder of its own.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <iostream>
#include <memory>
#include <sstream>

#include "modal_answerer.h"
#include "output/file_command.h"
#include "ui/gear_dlg.h"
#include "ui/gear_pair_picture.h"
#include "ui/preview_command.h"
#include "ui/preview_frame.h"

namespace kellvor {
namespace {

using test::ModalAnswerer;
using test::SeenModal;

const QStringList kFileNames = {"zahnradwerte.txt", "zahnrad.txt", "zahnrad.dxf"};

QWidget* focused() {
    return QApplication::focusWidget();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage toQImage(const RgbImage& image) {
    return QImage(image.rgb.data(), image.width, image.height, image.width * 3,
                  QImage::Format_RGB888)
        .copy();
}

// The pixels the frame shows on screen, painted afresh.
QImage shownPicture(PreviewFrame* frame) {
    return frame->grab(frame->contentsRect()).toImage().convertToFormat(QImage::Format_RGB888);
}

}  // namespace

class GearDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void opensWithInitialValuesAndFocusInFirstField();
    void fieldsAndButtonsFollowTheTemplate();
    void writeFilesMatchesFileCommand();
    void badFieldStopsTheCommand_data();
    void badFieldStopsTheCommand();
    void rangeWarningIsExactAndShownOnce();
    void previewMatchesPreviewCommand();
    void previewSurvivesRepaintAndFailedPreviewKeepsIt();
    void fileErrorNamesTheFileAndKeepsEarlierFiles();
    void cancelKeepsEarlierFilesExactly();
    void enterReadsFieldsAndClosesOnlyWhenValid();
    void quitEscapeAndCloseBoxCloseWithoutReading_data();
    void quitEscapeAndCloseBoxCloseWithoutReading();
    void aboutBoxFromF1AndContextMenu_data();
    void aboutBoxFromF1AndContextMenu();
    void aboutPictureIsAShadedRendering();
    void everyLabelWholeAfterPreview();

  private:
    // A shown and active dialog.
    void open();
    QPushButton* button(const QString& text) const;
    QWidget* field(std::size_t step) const { return m_dlg->field(step); }
    void type(std::size_t step, const QString& text);
    void click(const QString& text);
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QStringList folderEntries() const {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<CGearDlg> m_dlg;
};

void GearDlgTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    open();
}

void GearDlgTest::cleanup() {
    m_dlg.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void GearDlgTest::open() {
    m_dlg = std::make_unique<CGearDlg>();
    m_dlg->show();
    m_dlg->activateWindow();  // without a window manager nobody else does
    QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
}

QPushButton* GearDlgTest::button(const QString& text) const {
    for (QPushButton* b : m_dlg->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

void GearDlgTest::type(std::size_t step, const QString& text) {
    QLineEdit* field = m_dlg->field(step);
    field->setFocus();
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
}

void GearDlgTest::click(const QString& text) {
    QPushButton* b = button(text);
    QVERIFY2(b != nullptr, qPrintable(text));
    QTest::mouseClick(b, Qt::LeftButton);
}

void GearDlgTest::opensWithInitialValuesAndFocusInFirstField() {
    const QStringList expected = {"17", "40", "8", "45", "20", "0", "0", "10"};
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(m_dlg->field(static_cast<std::size_t>(i))->text(), expected[i]);
    QCOMPARE(focused(), field(0));
    QCOMPARE(m_dlg->windowTitle(), QString("Kellvor"));
    QVERIFY(!m_dlg->windowIcon().isNull());
    QVERIFY(!(m_dlg->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(m_dlg->windowFlags() & Qt::WindowMaximizeButtonHint));
}

void GearDlgTest::fieldsAndButtonsFollowTheTemplate() {
    QStringList labels;
    for (QLabel* label : m_dlg->findChildren<QLabel*>())
        labels << label->text();
    for (const char* text :
         {"Zahnradwerte eingeben:", "z1:", "z2:", "mn:", "Breite:", "Winkel Betta:", "x1:", "x2:",
          "Anzahl der Elemente innerhalb der Evolvente:", "Vorschau:"})
        QVERIFY2(labels.contains(text), text);

    // Each field is labelled by its own label.
    const QStringList fieldLabels = {
        "z1:",           "z2:", "mn:", "Breite:",
        "Winkel Betta:", "x1:", "x2:", "Anzahl der Elemente innerhalb der Evolvente:"};
    for (QLabel* label : m_dlg->findChildren<QLabel*>()) {
        const auto at = fieldLabels.indexOf(label->text());
        if (at >= 0)
            QCOMPARE(label->buddy(), field(static_cast<std::size_t>(at)));
    }

    // Tab runs through the fields in exchange order, then through the three buttons.
    QList<QWidget*> expected;
    for (std::size_t i = 0; i < kFieldCount; ++i)
        expected << m_dlg->field(i);
    for (const char* text : {"Vorschau anzeigen", "DXF-Datei erzeugen", "&Beenden"}) {
        QPushButton* b = button(text);
        QVERIFY2(b != nullptr, text);
        QVERIFY(!b->isDefault());
        QVERIFY(!b->autoDefault());
        expected << b;
    }
    m_dlg->field(0)->setFocus();
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), expected[i]);
    }

    QCOMPARE(m_dlg->previewFrame()->contentsRect().size(), QSize(208, 194));
    QCOMPARE(m_dlg->previewFrame()->frameShadow(), QFrame::Sunken);
}

void GearDlgTest::writeFilesMatchesFileCommand() {
    type(0, "19");
    type(1, "43");
    type(2, "2.5");
    type(3, "20");
    type(4, "15");
    type(5, "0.25");
    type(6, "-0.1");
    type(7, "6");
    ModalAnswerer answerer;
    click("DXF-Datei erzeugen");
    QCOMPARE(answerer.seen().size(), 0);

    const GearPairInput input{19, 43, 2.5, 20, 15, 0.25, -0.1, 6};
    QTemporaryDir reference;
    RootArc arc;
    std::ostringstream console;
    const CommandResult expected =
        runFileCommand(input, arc, reference.path().toStdString(), console);
    QCOMPARE(int(expected.status), int(CommandStatus::ok));
    for (const QString& name : kFileNames) {
        const QByteArray written = fileBytes(path(name));
        QVERIFY2(!written.isEmpty(), qPrintable(name));
        QVERIFY2(written == fileBytes(reference.filePath(name)), qPrintable(name));
    }
    QCOMPARE(folderEntries().size(), kFileNames.size());
    QVERIFY2(m_dlg->statusLine()->text().contains(m_dir->path()),
             qPrintable(m_dlg->statusLine()->text()));
}

void GearDlgTest::badFieldStopsTheCommand_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("messagePart");
    QTest::newRow("letters in z2, files") << 1 << "vierzig"
                                          << "DXF-Datei erzeugen"
                                          << "ganze Zahl";
    QTest::newRow("letters in mn, preview") << 2 << "acht"
                                            << "Vorschau anzeigen"
                                            << "Zahl";
    QTest::newRow("width zero, files") << 3 << "0"
                                       << "DXF-Datei erzeugen"
                                       << "zwischen 1e-20 und 1e+21";
    // 1e-25 would pass the range test of the command; the exchange alone must stop it.
    QTest::newRow("width 1e-25, files") << 3 << "1e-25"
                                        << "DXF-Datei erzeugen"
                                        << "zwischen 1e-20 und 1e+21";
    QTest::newRow("x1 out of range, preview") << 5 << "0.7"
                                              << "Vorschau anzeigen"
                                              << "zwischen -0.5 und 0.5";
    QTest::newRow("z1 below range, files") << 0 << "3"
                                           << "DXF-Datei erzeugen"
                                           << "zwischen 4 und 2147483647";
}

void GearDlgTest::badFieldStopsTheCommand() {
    QFETCH(int, step);
    QFETCH(QString, text);
    QFETCH(QString, command);
    QFETCH(QString, messagePart);
    const auto badStep = static_cast<std::size_t>(step);
    // The fields after the bad one change too, but must not reach the values.
    type(badStep, text);
    type(7, "12");
    std::ostringstream console;
    auto* const previous = std::cout.rdbuf(console.rdbuf());
    ModalAnswerer answerer;
    click(command);
    std::cout.rdbuf(previous);

    QCOMPARE(answerer.seen().size(), 1);
    const SeenModal& box = answerer.seen().front();
    QVERIFY2(box.text.contains(messagePart), qPrintable(box.text));
    QVERIFY2(box.text.contains(QString("\"%1\"").arg(
                 QString::fromUtf8(kExchangeFields[badStep].name.data(),
                                   static_cast<qsizetype>(kExchangeFields[badStep].name.size())))),
             qPrintable(box.text));
    QCOMPARE(box.buttons.size(), 1);
    QTRY_COMPARE(focused(), field(badStep));
    QCOMPARE(m_dlg->values().segmentCount, 10);
    QVERIFY(folderEntries().isEmpty());
    QVERIFY(m_dlg->previewFrame()->picture().isNull());
    QCOMPARE(console.str(), std::string());
}

void GearDlgTest::rangeWarningIsExactAndShownOnce() {
    // Both values pass the field exchange (the element count has no range there) but not the
    // range test of the command; the warning comes once and names the first of them.
    type(7, "1000");
    ModalAnswerer answerer;
    click("DXF-Datei erzeugen");
    click("Vorschau anzeigen");
    QCOMPARE(answerer.seen().size(), 2);
    for (const SeenModal& box : answerer.seen()) {
        QCOMPARE(box.text, QString::fromUtf8("Die Eingegebenen Zahnradwerte sind nicht alle im "
                                             "gültigem Bereich"));
        QCOMPARE(box.title, QString("Warnung"));
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons.size(), 1);
        QVERIFY2(box.informativeText.contains("Anzahl"), qPrintable(box.informativeText));
    }
    QVERIFY(folderEntries().isEmpty());
    QVERIFY(m_dlg->previewFrame()->picture().isNull());
    QCOMPARE(m_dlg->values().segmentCount, 1000);
}

void GearDlgTest::previewMatchesPreviewCommand() {
    std::ostringstream console;
    auto* const previous = std::cout.rdbuf(console.rdbuf());
    click("Vorschau anzeigen");
    std::cout.rdbuf(previous);
    QCOMPARE(console.str(), std::string("n: 22\n"));

    RootArc arc;
    std::ostringstream ignored;
    const PreviewResult expected = runPreviewCommand(GearPairInput{}, arc, 208, 194, ignored);
    QCOMPARE(int(expected.result.status), int(CommandStatus::ok));
    const QImage reference = toQImage(expected.image);
    QCOMPARE(m_dlg->previewFrame()->picture(), reference);
    QCOMPARE(shownPicture(m_dlg->previewFrame()), reference);
    QVERIFY(folderEntries().isEmpty());
}

void GearDlgTest::previewSurvivesRepaintAndFailedPreviewKeepsIt() {
    type(0, "23");
    click("Vorschau anzeigen");
    const QImage first = m_dlg->previewFrame()->picture();
    QVERIFY(!first.isNull());

    // Covered and uncovered: the window is hidden and shown again and repainted from scratch.
    m_dlg->hide();
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    m_dlg->previewFrame()->repaint();
    QCOMPARE(shownPicture(m_dlg->previewFrame()), first);

    {
        ModalAnswerer answerer;
        type(4, "31");
        click("Vorschau anzeigen");
        QCOMPARE(answerer.seen().size(), 1);
    }
    QCOMPARE(shownPicture(m_dlg->previewFrame()), first);

    type(4, "20");
    type(0, "9");
    click("Vorschau anzeigen");
    QVERIFY(shownPicture(m_dlg->previewFrame()) != first);
}

void GearDlgTest::fileErrorNamesTheFileAndKeepsEarlierFiles() {
    click("DXF-Datei erzeugen");
    QByteArray before[3];
    for (int i = 0; i < 3; ++i)
        before[i] = fileBytes(path(kFileNames[i]));
    // A folder where the drawing should go: the drawing cannot be put in place.
    QVERIFY(QFile::remove(path("zahnrad.dxf")));
    QVERIFY(QDir(m_dir->path()).mkdir("zahnrad.dxf"));
    type(0, "21");
    ModalAnswerer answerer;
    click("DXF-Datei erzeugen");
    QCOMPARE(answerer.seen().size(), 1);
    QVERIFY2(answerer.seen().front().text.contains("zahnrad.dxf"),
             qPrintable(answerer.seen().front().text));
    QCOMPARE(fileBytes(path("zahnradwerte.txt")), before[0]);
    QCOMPARE(fileBytes(path("zahnrad.txt")), before[1]);
    QCOMPARE(folderEntries().size(), 3);
}

void GearDlgTest::cancelKeepsEarlierFilesExactly() {
    click("DXF-Datei erzeugen");
    QByteArray before[3];
    for (int i = 0; i < 3; ++i)
        before[i] = fileBytes(path(kFileNames[i]));
    // The progress dialog at once instead of after half a second, so the test does not depend
    // on how fast the machine is; a gear of many teeth keeps the command busy long enough.
    m_dlg->setProgressTiming(ProgressTiming{0, 0});
    type(0, "100000");
    ModalAnswerer answerer("Abbrechen");
    click("DXF-Datei erzeugen");
    QVERIFY(!answerer.seen().isEmpty());
    QCOMPARE(answerer.seen().front().className, QString("QProgressDialog"));
    QVERIFY(answerer.seen().front().buttons.contains("Abbrechen"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(fileBytes(path(kFileNames[i])), before[i]);
    QCOMPARE(folderEntries().size(), 3);
    QVERIFY2(m_dlg->statusLine()->text().contains("Abgebrochen"),
             qPrintable(m_dlg->statusLine()->text()));
}

void GearDlgTest::enterReadsFieldsAndClosesOnlyWhenValid() {
    QPushButton* preview = button("Vorschau anzeigen");
    {
        ModalAnswerer answerer;
        type(2, "acht");
        QTest::keyClick(m_dlg->field(2), Qt::Key_Return);
        QCOMPARE(answerer.seen().size(), 1);
        QVERIFY(m_dlg->isVisible());
        QTRY_COMPARE(focused(), field(2));

        // On a focused button Enter presses that button instead, and the dialog stays.
        preview->setFocus();
        QTest::keyClick(preview, Qt::Key_Return);
        QCOMPARE(answerer.seen().size(), 2);
        QVERIFY(m_dlg->isVisible());
    }
    type(2, "6");
    preview->setFocus();
    QTest::keyClick(preview, Qt::Key_Return);
    QVERIFY(m_dlg->isVisible());
    QVERIFY(!m_dlg->previewFrame()->picture().isNull());

    type(6, "0.125");
    QTest::keyClick(m_dlg->field(6), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(!m_dlg->isVisible());
    QCOMPARE(m_dlg->result(), int(QDialog::Accepted));
    QCOMPARE(m_dlg->values().mn, 6.0);
    QCOMPARE(m_dlg->values().x2, 0.125);
    QVERIFY(folderEntries().isEmpty());
}

void GearDlgTest::quitEscapeAndCloseBoxCloseWithoutReading_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("&Beenden") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("close box") << 2;
}

void GearDlgTest::quitEscapeAndCloseBoxCloseWithoutReading() {
    QFETCH(int, how);
    type(0, "kein Wert");
    ModalAnswerer answerer;
    if (how == 0)
        click("&Beenden");
    else if (how == 1)
        QTest::keyClick(m_dlg->field(0), Qt::Key_Escape);
    else
        m_dlg->close();
    QVERIFY(!m_dlg->isVisible());
    QCOMPARE(m_dlg->result(), int(QDialog::Rejected));
    QCOMPARE(answerer.seen().size(), 0);
    QCOMPARE(m_dlg->values().z1, 17);
}

void GearDlgTest::aboutBoxFromF1AndContextMenu_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("F1") << false;
    QTest::newRow("context menu") << true;
}

void GearDlgTest::aboutBoxFromF1AndContextMenu() {
    QFETCH(bool, fromMenu);
    type(3, "33");
    ModalAnswerer answerer(QString("OK"), QString::fromUtf8("Info über Kellvor"));
    if (fromMenu) {
        // A right click on a label of the dialog; the label passes it on to the dialog.
        QLabel* label = m_dlg->findChildren<QLabel*>().front();
        const QPoint at = label->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, label->mapToGlobal(at));
        QApplication::sendEvent(label, &event);
    } else {
        QTest::keyClick(m_dlg->field(3), Qt::Key_F1);
    }
    QTRY_VERIFY(!answerer.seen().isEmpty());
    const SeenModal& about = answerer.seen().back();
    QCOMPARE(about.className, QString("kellvor::CInfoDlg"));
    QVERIFY(about.labels.contains("Version 1.3"));
    QCOMPARE(about.pictureSize, QSize(kPictureWidth, kPictureHeight));
    QCOMPARE(about.buttons, QStringList{"OK"});
    if (fromMenu)
        QCOMPARE(answerer.seen().front().className, QString("QMenu"));
    // Back in the dialog with the fields as they were.
    QVERIFY(m_dlg->isVisible());
    QCOMPARE(m_dlg->field(3)->text(), QString("33"));
}

void GearDlgTest::aboutPictureIsAShadedRendering() {
    const QImage picture = renderGearPairPicture();
    QCOMPARE(picture.size(), QSize(308, 287));
    QVERIFY(!picture.hasAlphaChannel());
    // Shading gives many tones; a flat or empty drawing has a handful.
    QSet<QRgb> tones;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2)
            tones.insert(picture.pixel(x, y));
    QVERIFY2(tones.size() > 500, qPrintable(QString::number(tones.size())));
}

void GearDlgTest::everyLabelWholeAfterPreview() {
    click("Vorschau anzeigen");
    const QImage picture = m_dlg->previewFrame()->picture();
    // The gear is drawn in blue inside the frame, beyond its one-pixel border.
    int blueInside = 0;
    for (int y = 2; y < picture.height() - 2; ++y)
        for (int x = 2; x < picture.width() - 2; ++x)
            blueInside += picture.pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
    QVERIFY2(blueInside > 500, qPrintable(QString::number(blueInside)));

    for (QLabel* label : m_dlg->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QRect inside = label->contentsRect();
        const QRect needed = label->fontMetrics().boundingRect(
            inside, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
            label->text());
        QVERIFY2(inside.contains(needed), qPrintable(label->text()));
    }
    for (QPushButton* b : m_dlg->findChildren<QPushButton*>())
        QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->text()));

    // With KELLVOR_SCREENSHOT set, the dialog as it now looks is saved for the documentation.
    const QString shot = qEnvironmentVariable("KELLVOR_SCREENSHOT");
    if (!shot.isEmpty())
        QVERIFY(m_dlg->grab().save(shot));
}

}  // namespace kellvor

QTEST_MAIN(kellvor::GearDlgTest)
#include "gear_dlg_test.moc"
