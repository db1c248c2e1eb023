// The dialog's fields, buttons, keys and About box, driven on the offscreen platform.
#include <QContextMenuEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>

#include "dialog/options_panel.h"

#include "dialog/gear_pair_picture.h"

#include "dialog_driver.h"
#include "modal_answerer.h"

namespace kellvor {

using namespace test;

class GearDlgLayoutTest : public QObject, private DialogDriver {
    Q_OBJECT

  private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void opensWithInitialValuesAndFocusInFirstField();
    void fieldsAndButtonsFollowTheTemplate();
    void enterConfirmsTheValueAndNeverCloses();
    void quitEscapeAndCloseBoxCloseWithoutReading_data();
    void quitEscapeAndCloseBoxCloseWithoutReading();
    void aboutBoxFromF1AndContextMenu_data();
    void aboutBoxFromF1AndContextMenu();
    void aboutPictureIsAShadedRendering();
    void everyLabelWholeAfterPreview();

  private:
    void checkLabelsWhole();
};

void GearDlgLayoutTest::opensWithInitialValuesAndFocusInFirstField() {
    const QStringList expected = {"17", "40", "8", "45", "20", "0", "0", "10"};
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(m_dlg->field(static_cast<std::size_t>(i))->text(), expected[i]);
    QCOMPARE(focused(), field(0));
    QCOMPARE(m_dlg->windowTitle(), QString("Kellvor"));
    QVERIFY(!m_dlg->windowIcon().isNull());
    QVERIFY(!(m_dlg->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(m_dlg->windowFlags() & Qt::WindowMaximizeButtonHint));
}

void GearDlgLayoutTest::fieldsAndButtonsFollowTheTemplate() {
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

// Enter in a field confirms the value: a refused one keeps its red frame and the focus, a valid
// set is drawn as "Vorschau anzeigen" draws it; the dialog never closes on Enter.
void GearDlgLayoutTest::enterConfirmsTheValueAndNeverCloses() {
    QPushButton* preview = button("Vorschau anzeigen");
    {
        ModalAnswerer answerer;
        type(2, "acht");
        QTest::keyClick(m_dlg->field(2), Qt::Key_Return);
        QCOMPARE(answerer.seen().size(), 0);
        QVERIFY(m_dlg->fieldRefused(2));
        QVERIFY(m_dlg->isVisible());
        QCOMPARE(focused(), field(2));
        QVERIFY(m_dlg->previewFrame()->picture().isNull());

        // On a focused button Enter presses that button instead, with its message.
        preview->setFocus();
        QTest::keyClick(preview, Qt::Key_Return);
        QCOMPARE(answerer.seen().size(), 1);
        QVERIFY(m_dlg->isVisible());
    }
    type(2, "6,5");
    QVERIFY(!m_dlg->fieldRefused(2));
    QTest::keyClick(m_dlg->field(2), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(m_dlg->isVisible());
    QVERIFY(!m_dlg->previewFrame()->picture().isNull());
    QCOMPARE(m_dlg->values().mn, 6.5);

    type(6, "0.125");
    QTest::keyClick(m_dlg->field(6), Qt::Key_Return);
    QVERIFY(m_dlg->isVisible());
    QCOMPARE(m_dlg->values().x2, 0.125);
}

void GearDlgLayoutTest::quitEscapeAndCloseBoxCloseWithoutReading_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("&Beenden") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("close box") << 2;
}

void GearDlgLayoutTest::quitEscapeAndCloseBoxCloseWithoutReading() {
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

void GearDlgLayoutTest::aboutBoxFromF1AndContextMenu_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("F1") << false;
    QTest::newRow("context menu") << true;
}

void GearDlgLayoutTest::aboutBoxFromF1AndContextMenu() {
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

void GearDlgLayoutTest::aboutPictureIsAShadedRendering() {
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

void GearDlgLayoutTest::everyLabelWholeAfterPreview() {
    click("Vorschau anzeigen");
    const QImage picture = m_dlg->previewFrame()->picture();
    // The gear is drawn in blue inside the frame, beyond its one-pixel border.
    int blueInside = 0;
    for (int y = 2; y < picture.height() - 2; ++y)
        for (int x = 2; x < picture.width() - 2; ++x)
            blueInside += picture.pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
    QVERIFY2(blueInside > 500, qPrintable(QString::number(blueInside)));

    // Every label shown is whole, with the advanced options closed and open.
    checkLabelsWhole();
    m_dlg->optionsPanel()->toggle()->click();
    QVERIFY(m_dlg->optionsPanel()->body()->isVisible());
    checkLabelsWhole();
    m_dlg->optionsPanel()->toggle()->click();
    for (QPushButton* b : m_dlg->findChildren<QPushButton*>())
        QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->text()));

    // With KELLVOR_SCREENSHOT set, the dialog as it now looks is saved for the documentation.
    const QString shot = qEnvironmentVariable("KELLVOR_SCREENSHOT");
    if (!shot.isEmpty())
        QVERIFY(m_dlg->grab().save(shot));
}

void GearDlgLayoutTest::checkLabelsWhole() {
    for (QLabel* label : m_dlg->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->isVisible())
            continue;
        const QRect inside = label->contentsRect();
        const QRect needed = label->fontMetrics().boundingRect(
            inside, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
            label->text());
        QVERIFY2(inside.contains(needed), qPrintable(label->text()));
    }
}

}  // namespace kellvor

QTEST_MAIN(kellvor::GearDlgLayoutTest)
#include "gear_dlg_layout_test.moc"
