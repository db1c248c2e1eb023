#include "dialog/preview_frame.h"

#include <QPainter>
#include <cmath>

namespace kellvor {

PreviewFrame::PreviewFrame(int width, int height, QWidget* parent) : QFrame(parent) {
    // A one-pixel sunken edge, like the static frame of a classic dialog.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    const int edge = frameWidth();
    setFixedSize(width + 2 * edge, height + 2 * edge);
}

QSize PreviewFrame::deviceClientSize() const {
    const QSize logical = clientSize();
    const double ratio = devicePixelRatioF();
    return QSize(static_cast<int>(std::lround(logical.width() * ratio)),
                 static_cast<int>(std::lround(logical.height() * ratio)));
}

void PreviewFrame::setPicture(const RgbImage& image) {
    // QImage only borrows the bytes it is built on; copy() gives it storage of its own.
    const QImage borrowed(image.rgb.data(), image.width, image.height, image.width * 3,
                          QImage::Format_RGB888);
    m_picture = borrowed.copy();
    // A picture of device pixels covers the logical client area at this ratio.
    const double ratio =
        clientSize().width() > 0 ? static_cast<double>(image.width) / clientSize().width() : 1.0;
    m_picture.setDevicePixelRatio(ratio > 0 ? ratio : 1.0);
    update();
}

void PreviewFrame::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_picture);
}

}  // namespace kellvor
