// The kellvor program: the gear pair dialog as the one window of the application.
#include <QApplication>

#include "dialog/gear_dlg.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Where the dialog's options are kept between runs (QSettings).
    QCoreApplication::setOrganizationName(QStringLiteral("Kellvor"));
    QCoreApplication::setApplicationName(QStringLiteral("Kellvor"));
    kellvor::CGearDlg dialog;
    app.setWindowIcon(dialog.windowIcon());
    // The dialog is the main window; whichever way it closes, the program ends.
    dialog.exec();
    return 0;
}
