// Answers the modal windows and menus a test opens, recording what they showed.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace kellvor::test {

// What a modal window showed before it was answered.
struct SeenModal {
    QString className;
    QString title;
    QString text;
    QString informativeText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QStringList labels;
    QSize pictureSize;
};

// Answers every modal window and popup menu that opens while it lives: records what it showed,
// then triggers the menu entry named menuEntry, or clicks the button named button (any button
// when none is named). It polls with a repeating single-shot timer, since a modal window runs
// an event loop of its own.
class ModalAnswerer : public QObject {
  public:
    explicit ModalAnswerer(QString button = QString(), QString menuEntry = QString())
        : m_button(std::move(button)), m_menuEntry(std::move(menuEntry)) {
        poll();
    }

    const QList<SeenModal>& seen() const { return m_seen; }

  private:
    void poll() {
        // Armed first: answering may open the next modal window and not return until it closes.
        QTimer::singleShot(10, this, [this] { poll(); });
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
            answerMenu(menu);
        else if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
            answerModal(modal);
    }

    void answerMenu(QMenu* menu) {
        SeenModal seen;
        seen.className = "QMenu";
        QAction* entry = nullptr;
        for (QAction* action : menu->actions()) {
            seen.buttons << action->text();
            if (action->text() == m_menuEntry)
                entry = action;
        }
        m_seen << seen;
        if (entry != nullptr)
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    }

    void answerModal(QWidget* modal) {
        SeenModal seen;
        seen.className = modal->metaObject()->className();
        seen.title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.text = box->text();
            seen.informativeText = box->informativeText();
            seen.icon = box->icon();
        }
        for (QLabel* label : modal->findChildren<QLabel*>()) {
            seen.labels << label->text();
            if (!label->pixmap().isNull())
                seen.pictureSize = label->pixmap().size();
        }
        QPushButton* toClick = nullptr;
        for (QPushButton* button : modal->findChildren<QPushButton*>()) {
            if (!button->isVisible())
                continue;
            seen.buttons << button->text();
            if (m_button.isEmpty() || button->text() == m_button)
                toClick = button;
        }
        m_seen << seen;
        if (toClick != nullptr)
            QTest::mouseClick(toClick, Qt::LeftButton);
    }

    QString m_button;
    QString m_menuEntry;
    QList<SeenModal> m_seen;
};

}  // namespace kellvor::test
