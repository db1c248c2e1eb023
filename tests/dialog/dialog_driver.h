// Drives the real dialog as a user does, on the offscreen platform, in a working folder of its own.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "dialog/gear_dlg.h"
#include "dialog/preview_frame.h"
#include "preview/preview_raster.h"

namespace kellvor::test {

// The three files of the file command.
inline const QStringList kFileNames = {"zahnradwerte.txt", "zahnrad.txt", "zahnrad.dxf"};

// The widget that has the keyboard focus.
inline QWidget* focused() {
    return QApplication::focusWidget();
}

// The bytes of a file; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The core's raster as a QImage.
inline QImage toQImage(const RgbImage& image) {
    return QImage(image.rgb.data(), image.width, image.height, image.width * 3,
                  QImage::Format_RGB888)
        .copy();
}

// The pixels the frame shows on screen, painted afresh.
inline QImage shownPicture(PreviewFrame* frame) {
    return frame->grab(frame->contentsRect()).toImage().convertToFormat(QImage::Format_RGB888);
}

// A shown, active dialog whose working folder is a fresh temporary folder.
class DialogDriver {
  protected:
    // Enters a fresh folder, keeps the dialog's options (QSettings) in a fresh folder of their
    // own, and opens the dialog (call from the test's init()).
    void start() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_settingsDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_settingsDir->isValid());
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir->path());
        m_previousDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        open();
    }
    // Closes the dialog and returns to the earlier folder (call from cleanup()).
    void stop() {
        m_dlg.reset();
        QDir::setCurrent(m_previousDir);
        m_dir.reset();
        m_settingsDir.reset();
    }
    // A new dialog, shown and active.
    void open() {
        m_dlg = std::make_unique<CGearDlg>();
        m_dlg->show();
        m_dlg->activateWindow();  // without a window manager nobody else does
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
    }
    // The push button with this text, or nullptr.
    QPushButton* button(const QString& text) const {
        for (QPushButton* b : m_dlg->findChildren<QPushButton*>())
            if (b->text() == text)
                return b;
        return nullptr;
    }
    // The field of exchange step `step`.
    QWidget* field(std::size_t step) const { return m_dlg->field(step); }
    // Replaces the text of a field by typing.
    void type(std::size_t step, const QString& text) {
        QLineEdit* edit = m_dlg->field(step);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }
    // Clicks the button with this text.
    void click(const QString& text) {
        QPushButton* b = button(text);
        QVERIFY2(b != nullptr, qPrintable(text));
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // A path in the working folder.
    QString path(const QString& name) const { return m_dir->filePath(name); }
    // Everything in the working folder, hidden files included.
    QStringList folderEntries() const {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_settingsDir;
    QString m_previousDir;
    std::unique_ptr<CGearDlg> m_dlg;
};

}  // namespace kellvor::test
