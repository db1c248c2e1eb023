// The dialog's commands: files, preview, errors and cancelling, driven on the offscreen platform.
#include <QMessageBox>
#include <QTest>
#include <iostream>
#include <sstream>

#include "commands/file_command.h"
#include "commands/preview_command.h"
#include "output/output_folder.h"

#include "dialog_driver.h"
#include "modal_answerer.h"

namespace kellvor {

using namespace test;

class GearDlgCommandTest : public QObject, private DialogDriver {
    Q_OBJECT

  private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void writeFilesMatchesFileCommand();
    void badFieldStopsTheCommand_data();
    void badFieldStopsTheCommand();
    void rangeWarningIsExactAndShownOnce();
    void undrawableGearIsShownLikeARangeFailure();
    void previewMatchesPreviewCommand();
    void previewSurvivesRepaintAndFailedPreviewKeepsIt();
    void fileErrorNamesTheFileAndKeepsEarlierFiles();
    void cancelKeepsEarlierFilesExactly();
    void waitForAnotherRunShowsProgressAndCancels();
};

void GearDlgCommandTest::writeFilesMatchesFileCommand() {
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
    std::ostringstream console;
    const CommandResult expected = runFileCommand(input, reference.path().toStdString(), console);
    QCOMPARE(int(expected.status), int(CommandStatus::ok));
    for (const QString& name : kFileNames) {
        const QByteArray written = fileBytes(path(name));
        QVERIFY2(!written.isEmpty(), qPrintable(name));
        QVERIFY2(written == fileBytes(reference.filePath(name)), qPrintable(name));
    }
    QCOMPARE(folderEntries().size(), kFileNames.size());
    QVERIFY2(
        m_dlg->statusLine()->toolTip().contains(m_dir->path()) &&
            m_dlg->statusLine()->toolTip().contains("zahnradwerte.txt, zahnrad.txt, zahnrad.dxf"),
        qPrintable(m_dlg->statusLine()->text()));
}

void GearDlgCommandTest::badFieldStopsTheCommand_data() {
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
    QTest::newRow("width zero, files")
        << 3 << "0"
        << "DXF-Datei erzeugen" << QString::fromUtf8("1e-20 ≤ b ≤ 1e+21 mm");
    // 1e-25 would pass the range test of the command; the exchange alone must stop it.
    QTest::newRow("width 1e-25, files")
        << 3 << "1e-25"
        << "DXF-Datei erzeugen" << QString::fromUtf8("1e-20 ≤ b ≤ 1e+21 mm");
    QTest::newRow("x1 out of range, preview")
        << 5 << "0.7"
        << "Vorschau anzeigen" << QString::fromUtf8("-0,5 ≤ x1 ≤ 0,5");
    QTest::newRow("z1 below range, files")
        << 0 << "3"
        << "DXF-Datei erzeugen" << QString::fromUtf8("4 ≤ z1 ≤ 2147483647");
}

void GearDlgCommandTest::badFieldStopsTheCommand() {
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
                 QString::fromUtf8(inputFields()[badStep].name.data(),
                                   static_cast<qsizetype>(inputFields()[badStep].name.size())))),
             qPrintable(box.text));
    QCOMPARE(box.buttons.size(), 1);
    QTRY_COMPARE(focused(), field(badStep));
    QCOMPARE(m_dlg->values().segmentCount, 10);
    QVERIFY(folderEntries().isEmpty());
    QVERIFY(m_dlg->previewFrame()->picture().isNull());
    QCOMPARE(console.str(), std::string());
}

void GearDlgCommandTest::rangeWarningIsExactAndShownOnce() {
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

// Four teeth with the largest negative shift pass the range test, but their root arcs cross:
// the warning box of a range failure names the reason, and nothing is written or drawn.
void GearDlgCommandTest::undrawableGearIsShownLikeARangeFailure() {
    type(0, "4");
    type(5, "-0.5");
    type(4, "0");
    ModalAnswerer answerer;
    click("DXF-Datei erzeugen");
    click("Vorschau anzeigen");
    QCOMPARE(answerer.seen().size(), 2);
    for (const SeenModal& box : answerer.seen()) {
        QCOMPARE(box.title, QString("Warnung"));
        QVERIFY2(box.informativeText.contains(QString::fromUtf8("Für z1 = 4 und x1 = -0.5 lässt "
                                                                "sich kein Zahnrad zeichnen")),
                 qPrintable(box.informativeText));
    }
    QVERIFY(folderEntries().isEmpty());
    QVERIFY(m_dlg->previewFrame()->picture().isNull());
}

void GearDlgCommandTest::previewMatchesPreviewCommand() {
    std::ostringstream console;
    auto* const previous = std::cout.rdbuf(console.rdbuf());
    click("Vorschau anzeigen");
    std::cout.rdbuf(previous);
    QCOMPARE(console.str(), std::string("n: 22\n"));

    std::ostringstream ignored;
    const PreviewResult expected = runPreviewCommand(GearPairInput{}, 208, 194, ignored);
    QCOMPARE(int(expected.result.status), int(CommandStatus::ok));
    const QImage reference = toQImage(expected.image);
    QCOMPARE(m_dlg->previewFrame()->picture(), reference);
    QCOMPARE(shownPicture(m_dlg->previewFrame()), reference);
    QVERIFY(folderEntries().isEmpty());
}

void GearDlgCommandTest::previewSurvivesRepaintAndFailedPreviewKeepsIt() {
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

void GearDlgCommandTest::fileErrorNamesTheFileAndKeepsEarlierFiles() {
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

void GearDlgCommandTest::cancelKeepsEarlierFilesExactly() {
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

// While another run holds the folder, the command waits with the progress dialog up, and its
// "Abbrechen" ends the wait with nothing changed.
void GearDlgCommandTest::waitForAnotherRunShowsProgressAndCancels() {
    click("DXF-Datei erzeugen");
    QByteArray before[3];
    for (int i = 0; i < 3; ++i)
        before[i] = fileBytes(path(kFileNames[i]));
    OutputFolder otherRun(m_dir->path().toStdString());
    QCOMPARE(int(otherRun.lock({})), int(LockStatus::locked));
    m_dlg->setProgressTiming(ProgressTiming{0, 0});
    type(0, "21");
    ModalAnswerer answerer("Abbrechen");
    click("DXF-Datei erzeugen");
    QVERIFY(!answerer.seen().isEmpty());
    QCOMPARE(answerer.seen().front().className, QString("QProgressDialog"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(fileBytes(path(kFileNames[i])), before[i]);
    QCOMPARE(folderEntries().size(), 3);
    QVERIFY2(m_dlg->statusLine()->text().contains("Abgebrochen"),
             qPrintable(m_dlg->statusLine()->text()));
}

}  // namespace kellvor

QTEST_MAIN(kellvor::GearDlgCommandTest)
#include "gear_dlg_command_test.moc"
