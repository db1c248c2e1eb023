// The collapsible "Erweitert" group of the dialog: what to write and where.
#pragma once

#include <QWidget>

#include "dialog/dialog_options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kellvor {

// A header button that opens and closes the group, and the options inside it. Every change is
// stored at once, so the options survive a restart.
class OptionsPanel : public QWidget {
    Q_OBJECT

  public:
    explicit OptionsPanel(QWidget* parent = nullptr);

    // The options as shown.
    const DialogOptions& options() const { return m_options; }
    // Shows options and stores them.
    void setOptions(const DialogOptions& options);
    // Opens or closes the group.
    void setExpanded(bool open);
    // The folder the files go to: the chosen one, or the current working directory.
    QString outputFolder() const;

    // The controls, for the dialog's tab order and for tests.
    QToolButton* toggle() const { return m_toggle; }
    QPushButton* folderButton() const { return m_folderButton; }
    QPushButton* defaultsButton() const { return m_defaultsButton; }
    QWidget* body() const { return m_body; }
    QLineEdit* backlashField() const { return m_backlash; }
    QCheckBox* pairBox() const { return m_pair; }
    QCheckBox* jsonBox() const { return m_json; }
    QCheckBox* svgBox() const { return m_svg; }
    QCheckBox* camBox() const { return m_cam; }
    QComboBox* rootChoice() const { return m_root; }

  signals:
    // Some option changed.
    void changed();

  private:
    void chooseFolder();
    void show(const DialogOptions& options);
    void store();

    DialogOptions m_options;
    QToolButton* m_toggle = nullptr;
    QWidget* m_body = nullptr;
    QLineEdit* m_backlash = nullptr;
    QCheckBox* m_pair = nullptr;
    QCheckBox* m_json = nullptr;
    QCheckBox* m_svg = nullptr;
    QCheckBox* m_cam = nullptr;
    QComboBox* m_root = nullptr;
    QLabel* m_folderLabel = nullptr;
    QPushButton* m_folderButton = nullptr;
    QPushButton* m_defaultsButton = nullptr;
};

}  // namespace kellvor
