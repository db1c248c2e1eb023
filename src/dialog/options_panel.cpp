#include "dialog/options_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
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
    m_backlash = new QLineEdit(m_body);
    m_backlash->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
    auto* backlashLabel = new QLabel(text(strings::kBacklashLabel), m_body);
    backlashLabel->setBuddy(m_backlash);
    m_root = new QComboBox(m_body);
    m_root->addItem(text(strings::kRootThreePointArc));
    m_root->addItem(text(strings::kRootGenerated));
    auto* rootLabel = new QLabel(text(strings::kRootLabel), m_body);
    rootLabel->setBuddy(m_root);
    m_cam = new QCheckBox(text(strings::kCamDxf), m_body);
    m_pair = new QCheckBox(text(strings::kWritePair), m_body);
    m_svg = new QCheckBox(text(strings::kWriteSvg), m_body);
    m_json = new QCheckBox(text(strings::kWriteJson), m_body);
    m_folderLabel = new QLabel(m_body);
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folderButton = new QPushButton(text(strings::kChooseFolder), m_body);
    m_folderButton->setAutoDefault(false);
    m_defaultsButton = new QPushButton(text(strings::kDefaults), m_body);
    m_defaultsButton->setAutoDefault(false);
    int row = 0;
    grid->addWidget(backlashLabel, row, 0);
    grid->addWidget(m_backlash, row++, 1, Qt::AlignLeft);
    grid->addWidget(rootLabel, row, 0);
    grid->addWidget(m_root, row++, 1, Qt::AlignLeft);
    grid->addWidget(m_cam, row++, 0, 1, 2);
    grid->addWidget(new QLabel(text(strings::kWriteAlso), m_body), row++, 0, 1, 2);
    grid->addWidget(m_pair, row++, 0, 1, 2);
    grid->addWidget(m_svg, row++, 0, 1, 2);
    grid->addWidget(m_json, row++, 0, 1, 2);
    grid->addWidget(new QLabel(text(strings::kFolderLabel), m_body), row, 0);
    grid->addWidget(m_folderLabel, row++, 1);
    grid->addWidget(m_folderButton, row, 0);
    grid->addWidget(m_defaultsButton, row, 1, Qt::AlignRight);
    outer->addWidget(m_body);

    connect(m_toggle, &QToolButton::toggled, this, [this](bool open) {
        m_options.expanded = open;
        m_body->setVisible(open);
        m_toggle->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        store();
    });
    connect(m_folderButton, &QPushButton::clicked, this, &OptionsPanel::chooseFolder);
    connect(m_backlash, &QLineEdit::textEdited, this, [this](const QString& typed) {
        m_options.backlash = typed;
        store();
    });
    const auto bind = [this](QCheckBox* box, bool DialogOptions::*member) {
        connect(box, &QCheckBox::toggled, this, [this, member](bool on) {
            m_options.*member = on;
            store();
        });
    };
    bind(m_pair, &DialogOptions::pair);
    bind(m_json, &DialogOptions::json);
    bind(m_svg, &DialogOptions::svg);
    bind(m_cam, &DialogOptions::camDxf);
    connect(m_root, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_options.generatedRoot = index == 1;
        store();
    });
    connect(m_defaultsButton, &QPushButton::clicked, this, [this] {
        setOptions(DialogOptions{QString(), true});
    });
    show(loadDialogOptions());
}

void OptionsPanel::setOptions(const DialogOptions& options) {
    show(options);
    store();
}

void OptionsPanel::setExpanded(bool open) {
    m_toggle->setChecked(open);
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
    {
        const QSignalBlocker blockPair(m_pair);
        const QSignalBlocker blockJson(m_json);
        const QSignalBlocker blockSvg(m_svg);
        const QSignalBlocker blockCam(m_cam);
        const QSignalBlocker blockRoot(m_root);
        m_pair->setChecked(options.pair);
        m_json->setChecked(options.json);
        m_svg->setChecked(options.svg);
        m_cam->setChecked(options.camDxf);
        m_root->setCurrentIndex(options.generatedRoot ? 1 : 0);
    }
    m_backlash->setText(options.backlash);
    m_folderLabel->setText(options.folder.isEmpty() ? text(strings::kCurrentFolder)
                                                    : QDir::toNativeSeparators(options.folder));
    m_folderLabel->setToolTip(QDir::toNativeSeparators(outputFolder()));
}

void OptionsPanel::store() {
    saveDialogOptions(m_options);
    emit changed();
}

}  // namespace kellvor
