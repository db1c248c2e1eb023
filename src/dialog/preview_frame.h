// The sunken frame of the dialog that shows the last preview picture.
#pragma once

#include <QFrame>
#include <QImage>

#include "preview/preview_raster.h"

namespace kellvor {

// A sunken frame whose client area has a fixed size in logical pixels; it keeps the last picture
// handed to it and paints it on every repaint, so the picture survives being covered and
// uncovered. Pictures are drawn at the screen's pixel density (device pixels).
class PreviewFrame : public QFrame {
    Q_OBJECT

  public:
    // A frame whose client area (inside the sunken edge) is width x height logical pixels.
    PreviewFrame(int width, int height, QWidget* parent = nullptr);

    // Size of the client area in logical pixels.
    QSize clientSize() const { return contentsRect().size(); }

    // Size of the client area in device pixels: the size a preview picture is drawn for, so that
    // it is as sharp as the rest of the window at a display scale above 1.
    QSize deviceClientSize() const;

    // The frame's device pixel ratio (1 on an unscaled display).
    double pixelRatio() const { return devicePixelRatioF(); }

    // Keeps a copy of a picture drawn for deviceClientSize() and repaints.
    void setPicture(const RgbImage& image);

    // The picture kept (in device pixels), null before the first preview.
    const QImage& picture() const { return m_picture; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_picture;
};

}  // namespace kellvor
