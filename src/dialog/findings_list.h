// The findings under the dialog's buttons: what the engineering checks say about the values.
#pragma once

#include <QListWidget>

#include "geometry/assessment.h"

namespace kellvor {

// One line per finding with the icon of its level; "Keine Auffälligkeiten" when there is no
// Warnung or Fehler (a Hinweis is listed but does not count).
class FindingsList : public QListWidget {
    Q_OBJECT

  public:
    explicit FindingsList(QWidget* parent = nullptr);

    // Shows the findings of an assessment.
    void showAssessment(const Assessment& assessment);
    // Shows that the values cannot be judged while a field is refused.
    void showRefusedFields();
    // Whether the list says that nothing is wrong.
    bool allClear() const { return m_allClear; }

  private:
    bool m_allClear = false;
};

}  // namespace kellvor
