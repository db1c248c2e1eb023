#include "dialog/options_panel.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialog/dialog_strings.h"

namespace kellvor {
namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

OptionsPanel::OptionsPanel(QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_toggle = new QToolButton(this);
    m_toggle->setText(text(strings::kAdvanced));
    m_toggle->setCheckable(true);
    m_toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toggle->setAutoRaise(true);
    outer->addWidget(m_toggle);

    m_body = new QWidget(this);
    auto* grid = new QGridLayout(m_body);
    grid->setContentsMargins(12, 0, 0, 0);
    m_folderLabel = new QLabel(m_body);
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folderButton = new QPushButton(text(strings::kChooseFolder), m_body);
    m_folderButton->setAutoDefault(false);
    m_defaultsButton = new QPushButton(text(strings::kDefaults), m_body);
    m_defaultsButton->setAutoDefault(false);
    grid->addWidget(new QLabel(text(strings::kFolderLabel), m_body), 0, 0);
    grid->addWidget(m_folderLabel, 0, 1);
    grid->addWidget(m_folderButton, 1, 0);
    grid->addWidget(m_defaultsButton, 1, 1, Qt::AlignRight);
    outer->addWidget(m_body);

    connect(m_toggle, &QToolButton::toggled, this, [this](bool open) {
        m_options.expanded = open;
        m_body->setVisible(open);
        m_toggle->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        store();
    });
    connect(m_folderButton, &QPushButton::clicked, this, &OptionsPanel::chooseFolder);
    connect(m_defaultsButton, &QPushButton::clicked, this, [this] {
        setOptions(DialogOptions{QString(), true});
    });
    show(loadDialogOptions());
}

void OptionsPanel::setOptions(const DialogOptions& options) {
    show(options);
    store();
}

QString OptionsPanel::outputFolder() const {
    return m_options.folder.isEmpty() ? QDir::currentPath() : m_options.folder;
}

void OptionsPanel::chooseFolder() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, text(strings::kChooseFolderTitle), outputFolder());
    if (chosen.isEmpty())
        return;
    DialogOptions o = m_options;
    o.folder = chosen;
    setOptions(o);
}

void OptionsPanel::show(const DialogOptions& options) {
    m_options = options;
    const QSignalBlocker block(m_toggle);
    m_toggle->setChecked(options.expanded);
    m_toggle->setArrowType(options.expanded ? Qt::DownArrow : Qt::RightArrow);
    m_body->setVisible(options.expanded);
    m_folderLabel->setText(options.folder.isEmpty() ? text(strings::kCurrentFolder)
                                                    : QDir::toNativeSeparators(options.folder));
    m_folderLabel->setToolTip(QDir::toNativeSeparators(outputFolder()));
}

void OptionsPanel::store() {
    saveDialogOptions(m_options);
    emit changed();
}

}  // namespace kellvor
