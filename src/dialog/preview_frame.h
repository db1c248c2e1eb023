// The sunken frame of the dialog that shows the last preview picture.
#pragma once

#include <QFrame>
#include <QImage>

#include "preview/preview_raster.h"

namespace kellvor {

// A sunken frame whose client area has a fixed pixel size; it keeps the last picture handed to
// it and paints it on every repaint, so the picture survives being covered and uncovered.
class PreviewFrame : public QFrame {
    Q_OBJECT

  public:
    // A frame whose client area (inside the sunken edge) is width x height pixels.
    PreviewFrame(int width, int height, QWidget* parent = nullptr);

    // Size of the client area in pixels: the size a preview picture is drawn for.
    QSize clientSize() const { return contentsRect().size(); }

    // Keeps a copy of image and repaints; it replaces the picture shown before.
    void setPicture(const RgbImage& image);

    // The picture kept, null before the first preview.
    const QImage& picture() const { return m_picture; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_picture;
};

}  // namespace kellvor
