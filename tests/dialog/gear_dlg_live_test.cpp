// The dialog as it checks values while they are typed: red frames, the live preview, the decimal
// comma, the advanced options and a sharp preview, driven on the offscreen platform.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>
#include <sstream>

#include "commands/file_command.h"
#include "dialog/findings_list.h"
#include "dialog/options_panel.h"
#include "dialog/preview_scheduler.h"
#include "dialog_driver.h"
#include "modal_answerer.h"

namespace kellvor {

using namespace test;

class GearDlgLiveTest : public QObject, private DialogDriver {
    Q_OBJECT

  private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void refusedFieldGetsRedFrameAndRangeWithoutBox_data();
    void refusedFieldGetsRedFrameAndRangeWithoutBox();
    void validValuesRedrawThePreviewAfterAPause();
    void decimalCommaInEveryRealField();
    void optionsSurviveARestartAndDefaultsRestoreThem();
    void chosenFolderReceivesTheFiles();
    void previewHasTheDevicePixelsOfTheFrame();
    void optionsWriteTheirFilesWithTheBacklash();
    void backlashIsCheckedAgainstTheModule();
    void findingsFollowTheValues_data();
    void findingsFollowTheValues();
};

// Whether the field is drawn with a red frame (some clearly red pixel on its edge).
bool hasRedFrame(QWidget* field) {
    const QImage image = field->grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, 0);
        if (c.red() > 180 && c.green() < 80 && c.blue() < 80)
            return true;
    }
    return false;
}

void GearDlgLiveTest::refusedFieldGetsRedFrameAndRangeWithoutBox_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("range");
    QTest::newRow("z1") << 0 << "3" << QString::fromUtf8("4 ≤ z1");
    QTest::newRow("z2") << 1 << "vier" << QString::fromUtf8("keine ganze Zahl");
    QTest::newRow("mn") << 2 << "60" << QString::fromUtf8("0,5 ≤ mn ≤ 50 mm");
    QTest::newRow("b") << 3 << "0" << QString::fromUtf8("1e-20 ≤ b ≤ 1e+21 mm");
    QTest::newRow("beta") << 4 << "30,5" << QString::fromUtf8("0 ≤ beta ≤ 30 Grad");
    QTest::newRow("x1") << 5 << "-0,6" << QString::fromUtf8("-0,5 ≤ x1 ≤ 0,5");
    QTest::newRow("x2") << 6 << "1" << QString::fromUtf8("-0,5 ≤ x2 ≤ 0,5");
    // The exchange takes any element count; the range test of the commands does not.
    QTest::newRow("segments") << 7 << "500" << QString::fromUtf8("0 ≤ Anzahl ≤ 499");
}

void GearDlgLiveTest::refusedFieldGetsRedFrameAndRangeWithoutBox() {
    QFETCH(int, step);
    QFETCH(QString, text);
    QFETCH(QString, range);
    const auto s = static_cast<std::size_t>(step);
    QVERIFY(!m_dlg->fieldRefused(s));
    QVERIFY(!hasRedFrame(m_dlg->field(s)));
    ModalAnswerer answerer;
    type(s, text);
    QVERIFY(m_dlg->fieldRefused(s));
    QVERIFY(hasRedFrame(m_dlg->field(s)));
    QVERIFY2(m_dlg->field(s)->toolTip().contains(range), qPrintable(m_dlg->field(s)->toolTip()));
    QTest::qWait(300);
    QCOMPARE(answerer.seen().size(), 0);
    QVERIFY(m_dlg->previewFrame()->picture().isNull());
    // Typing a good value again takes the frame away.
    type(s, QStringLiteral("20"));
    if (step == 5 || step == 6)
        type(s, QStringLiteral("0,25"));
    QVERIFY(!m_dlg->fieldRefused(s));
    QVERIFY(!hasRedFrame(m_dlg->field(s)));
}

void GearDlgLiveTest::validValuesRedrawThePreviewAfterAPause() {
    QVERIFY(m_dlg->previewFrame()->picture().isNull());
    type(0, "23");
    // Nothing is drawn while the pause runs: typing never waits for a picture.
    QVERIFY(m_dlg->previewFrame()->picture().isNull());
    QTRY_VERIFY_WITH_TIMEOUT(!m_dlg->previewFrame()->picture().isNull(), 5000);
    const QImage first = m_dlg->previewFrame()->picture();
    type(0, "11");
    QTRY_VERIFY_WITH_TIMEOUT(m_dlg->previewFrame()->picture() != first, 5000);
    QTRY_VERIFY(!m_dlg->previewScheduler()->busy());
    // The live picture is exactly the button's picture of the same values.
    click("Vorschau anzeigen");
    const QImage button = m_dlg->previewFrame()->picture();
    type(0, "12");
    type(0, "11");
    QTRY_VERIFY(!m_dlg->previewScheduler()->busy());
    QCOMPARE(m_dlg->previewFrame()->picture(), button);
}

void GearDlgLiveTest::decimalCommaInEveryRealField() {
    for (const std::size_t step : {2u, 3u, 4u, 5u, 6u}) {
        type(step, "8,5");
        // x1 and x2 refuse 8.5 by their range, and the exchange still stores the value read.
        ModalAnswerer answerer;
        m_dlg->readFields();
        const GearPairInput& v = m_dlg->values();
        const double read[] = {0, 0, v.mn, v.b, v.beta, v.x1, v.x2};
        QCOMPARE(read[step], 8.5);
        type(step, step >= 5 ? "0" : "8");
    }
}

void GearDlgLiveTest::optionsSurviveARestartAndDefaultsRestoreThem() {
    OptionsPanel* panel = m_dlg->optionsPanel();
    QVERIFY(!panel->body()->isVisible());
    panel->toggle()->click();
    QVERIFY(panel->body()->isVisible());
    DialogOptions chosen = panel->options();
    chosen.folder = m_dir->path();
    panel->setOptions(chosen);
    panel->pairBox()->click();
    panel->jsonBox()->click();
    QTest::keyClicks(panel->backlashField(), ",25");
    chosen = panel->options();
    QCOMPARE(chosen.backlash, QString("0,25"));
    QVERIFY(chosen.pair && chosen.json);

    open();  // a new dialog, as after a restart
    panel = m_dlg->optionsPanel();
    QCOMPARE(panel->options(), chosen);
    QVERIFY(panel->body()->isVisible());

    QTest::mouseClick(panel->defaultsButton(), Qt::LeftButton);
    QCOMPARE(panel->options().folder, QString());
    QVERIFY(!panel->options().pair && !panel->options().json);
    QCOMPARE(panel->backlashField()->text(), QString("0"));
    QCOMPARE(panel->outputFolder(), QDir::currentPath());
    open();
    QCOMPARE(m_dlg->optionsPanel()->options().folder, QString());
}

void GearDlgLiveTest::chosenFolderReceivesTheFiles() {
    QVERIFY(QDir(m_dir->path()).mkdir("ziel"));
    DialogOptions o = m_dlg->optionsPanel()->options();
    o.folder = path("ziel");
    m_dlg->optionsPanel()->setOptions(o);
    click("DXF-Datei erzeugen");
    QCOMPARE(QDir(path("ziel")).entryList(QDir::Files).size(), 3);
    QCOMPARE(folderEntries(), QStringList{"ziel"});
    QVERIFY2(m_dlg->statusLine()->toolTip().contains(QDir::toNativeSeparators(path("ziel"))),
             qPrintable(m_dlg->statusLine()->toolTip()));
    // A failed command says so instead of keeping the old success.
    QVERIFY(QDir(path("ziel")).removeRecursively());
    {
        ModalAnswerer answerer;
        click("DXF-Datei erzeugen");
        QCOMPARE(answerer.seen().size(), 1);
    }
    QVERIFY2(m_dlg->statusLine()->toolTip().startsWith("Fehlgeschlagen: "),
             qPrintable(m_dlg->statusLine()->toolTip()));
}

// The picture has the device pixels of the frame: twice the width and height at a display scale
// of 2 (the test runs a second time under QT_SCALE_FACTOR=2, which sets KELLVOR_EXPECT_RATIO).
void GearDlgLiveTest::previewHasTheDevicePixelsOfTheFrame() {
    click("Vorschau anzeigen");
    const QImage picture = m_dlg->previewFrame()->picture();
    const double ratio = m_dlg->previewFrame()->pixelRatio();
    const QString expected = qEnvironmentVariable("KELLVOR_EXPECT_RATIO", "1");
    QCOMPARE(ratio, expected.toDouble());
    QCOMPARE(picture.width(), qRound(208 * ratio));
    QCOMPARE(picture.height(), qRound(194 * ratio));
    QCOMPARE(picture.devicePixelRatio(), ratio);
    // What the frame shows has the same device pixels.
    const QImage shown =
        m_dlg->previewFrame()->grab(m_dlg->previewFrame()->contentsRect()).toImage();
    QCOMPARE(shown.size(), picture.size());
}

// The pair, the SVG drawings and the JSON join the set; the backlash thins, the root form shapes
// and the CAM style formats what is written, as on the command line.
void GearDlgLiveTest::optionsWriteTheirFilesWithTheBacklash() {
    OptionsPanel* panel = m_dlg->optionsPanel();
    panel->toggle()->click();
    panel->pairBox()->click();
    panel->jsonBox()->click();
    panel->svgBox()->click();
    panel->camBox()->click();
    panel->rootChoice()->setCurrentIndex(1);
    panel->backlashField()->selectAll();
    QTest::keyClicks(panel->backlashField(), "0,1");
    click("DXF-Datei erzeugen");
    const QStringList expected = {"eingriff.txt",      "zahnrad.dxf",     "zahnrad.svg",
                                  "zahnrad.txt",       "zahnrad2.dxf",    "zahnrad2.svg",
                                  "zahnrad2.txt",      "zahnradpaar.dxf", "zahnradpaar.svg",
                                  "zahnradwerte.json", "zahnradwerte.txt"};
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files, QDir::Name), expected);
    for (const QString& name : expected)
        QVERIFY2(m_dlg->statusLine()->toolTip().contains(name), qPrintable(name));
    // The same files as the file command writes for these values and this backlash.
    QTemporaryDir reference;
    std::ostringstream console;
    FileRequest request{.input = GearPairInput{},
                        .backlash = 0.1,
                        .pair = true,
                        .json = true,
                        .root = RootForm::generated,
                        .svg = true,
                        .dxfStyle = DxfStyle::cam};
    QVERIFY(runFileCommand(request, reference.path().toStdString(), console).ok());
    for (const QString& name : expected)
        QVERIFY2(fileBytes(path(name)) == fileBytes(reference.filePath(name)), qPrintable(name));
}

// The backlash is refused live when it is no number or not below half the module; the module's
// field changes its limit.
void GearDlgLiveTest::backlashIsCheckedAgainstTheModule() {
    OptionsPanel* panel = m_dlg->optionsPanel();
    panel->toggle()->click();
    QLineEdit* jn = panel->backlashField();
    const auto refused = [jn] { return jn->property("kellvorRefused").toBool(); };
    QVERIFY(!refused());
    jn->selectAll();
    QTest::keyClicks(jn, "3,9");
    QVERIFY(!refused());
    type(2, "6");  // mn = 6: 3.9 is beyond half the module
    QVERIFY(refused());
    QVERIFY2(jn->toolTip().contains(QString::fromUtf8("0 ≤ jn < 3 mm")), qPrintable(jn->toolTip()));
    QTest::qWait(300);
    QVERIFY(m_dlg->previewFrame()->picture().isNull());
    jn->selectAll();
    QTest::keyClicks(jn, "x");
    QVERIFY(refused());
    ModalAnswerer answerer;
    click("Vorschau anzeigen");
    QCOMPARE(answerer.seen().size(), 1);
    QVERIFY(answerer.seen().front().text.contains("Flankenspiel"));
}

void GearDlgLiveTest::findingsFollowTheValues_data() {
    QTest::addColumn<QStringList>("texts");  // z1, x1, x2 as typed
    QTest::addColumn<bool>("allClear");
    QTest::addColumn<QStringList>("expected");  // parts of the lines shown
    QTest::newRow("good pair") << QStringList{"17", "0", "0"} << true
                               << QStringList{"Keine Auffälligkeiten"};
    QTest::newRow("undercut pinion")
        << QStringList{"10", "0", "0"} << false
        << QStringList{"Zahnrad 1 wird beim Verzahnen unterschnitten", "Eingriffsstörung"};
    QTest::newRow("pointed pinion")
        << QStringList{"4", "0,5", "0"} << false << QStringList{"Zahnrad 1 wird spitz"};
    // A Hinweis is listed, but the pair counts as without findings.
    QTest::newRow("note only") << QStringList{"40", "0,5", "0,5"} << true
                               << QStringList{"Kopfspiel", "Keine Auffälligkeiten"};
}

void GearDlgLiveTest::findingsFollowTheValues() {
    QFETCH(QStringList, texts);
    QFETCH(bool, allClear);
    QFETCH(QStringList, expected);
    type(0, texts[0]);
    type(5, texts[1]);
    type(6, texts[2]);
    FindingsList* list = m_dlg->findingsList();
    QCOMPARE(list->allClear(), allClear);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    for (const QString& part : expected)
        QVERIFY2(shown.join('|').contains(part), qPrintable(shown.join('|')));
    // While a field is refused there is nothing to judge.
    type(0, "3");
    QVERIFY(!list->allClear());
    QCOMPARE(list->count(), 1);
}

}  // namespace kellvor

QTEST_MAIN(kellvor::GearDlgLiveTest)
#include "gear_dlg_live_test.moc"
