#include "dialog/findings_list.h"

#include <QStyle>

#include "dialog/dialog_strings.h"
#include "geometry/assessment_text.h"

namespace kellvor {
namespace {

QIcon levelIcon(const QStyle* style, FindingLevel level) {
    switch (level) {
        case FindingLevel::note:
            return style->standardIcon(QStyle::SP_MessageBoxInformation);
        case FindingLevel::warning:
            return style->standardIcon(QStyle::SP_MessageBoxWarning);
        case FindingLevel::error:
            break;
    }
    return style->standardIcon(QStyle::SP_MessageBoxCritical);
}

}  // namespace

FindingsList::FindingsList(QWidget* parent) : QListWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(true);
    setTextElideMode(Qt::ElideNone);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setAccessibleName(QString::fromUtf8(strings::kFindingsName));
}

void FindingsList::showAssessment(const Assessment& assessment) {
    clear();
    m_allClear = true;
    for (const Finding& f : assessment.list()) {
        auto* item = new QListWidgetItem(levelIcon(style(), f.level),
                                         QString::fromStdString(findingText(f)), this);
        item->setToolTip(QString::fromStdString(findingLine(f)));
        m_allClear = m_allClear && f.level == FindingLevel::note;
    }
    if (m_allClear)
        new QListWidgetItem(style()->standardIcon(QStyle::SP_DialogApplyButton),
                            QString::fromUtf8(strings::kNoFindings), this);
}

void FindingsList::showRefusedFields() {
    clear();
    m_allClear = false;
    new QListWidgetItem(QString::fromUtf8(strings::kFindingsNeedValidFields), this);
}

}  // namespace kellvor
