// The About box: version, two lines on the program, the gear pair picture and an OK button.
#pragma once

#include <QDialog>

namespace kellvor {

// Modal About box of the main dialog; it exchanges no data.
class CInfoDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CInfoDlg(QWidget* parent = nullptr);
};

}  // namespace kellvor
