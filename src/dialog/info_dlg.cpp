#include "dialog/info_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "dialog/dialog_strings.h"
#include "dialog/gear_pair_picture.h"

namespace kellvor {

CInfoDlg::CInfoDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(strings::kCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(new QLabel(QString::fromUtf8(strings::kVersionLine), this), 0, 0);
    grid->addWidget(new QLabel(QString::fromUtf8(strings::kAboutLine1), this), 1, 0);
    grid->addWidget(new QLabel(QString::fromUtf8(strings::kAboutLine2), this), 2, 0);

    auto* ok = new QPushButton(QString::fromUtf8(strings::kOk), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok, 0, 1, Qt::AlignRight | Qt::AlignTop);

    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(renderGearPairPicture()));
    picture->setFixedSize(kPictureWidth, kPictureHeight);
    grid->addWidget(picture, 3, 0, 1, 2, Qt::AlignHCenter);
    ok->setFocus();
}

}  // namespace kellvor
