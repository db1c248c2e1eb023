// The picture of the turning pair in the mesh window: both drawn gears at the centre distance,
// y up as in the assembly drawing, with the working circles, the line of action, the points
// where the teeth touch and, filled red, where they overlap.
#pragma once

#include <QColor>
#include <QPointF>
#include <QTransform>
#include <QWidget>
#include <memory>

#include "dialog/mesh_scene.h"
#include "outline/pair_motion.h"

namespace kellvor {

// Colours of the picture.
inline const QColor kMeshBackground{255, 255, 255};
inline const QColor kMeshGear1Fill{205, 218, 255};
inline const QColor kMeshGear1Line{0, 50, 190};
inline const QColor kMeshGear2Fill{255, 218, 205};
inline const QColor kMeshGear2Line{190, 40, 0};
inline const QColor kMeshGuides{150, 150, 150};
inline const QColor kMeshLineOfAction{0, 130, 60};
inline const QColor kMeshOverlap{230, 0, 0};

// Paints the pair with QPainter, antialiased, at the screen's pixel density, from the scene's
// cached paths, which each frame only transforms (and leaves out where off screen). The mouse
// wheel zooms about the cursor, dragging pans, a double click fits both gears.
class MeshCanvas : public QWidget {
    Q_OBJECT

  public:
    explicit MeshCanvas(QWidget* parent = nullptr);

    // Shows scene (nullptr: nothing); the view is fitted unless the user has zoomed or panned.
    void setScene(std::shared_ptr<const MeshScene> scene);
    // Turns gear 1 ccw to phi1 degrees (gear 2 follows) and repaints.
    void setPhi1(double degrees);
    double phi1() const { return m_phi1; }
    // Where both gears stand now.
    PairPose pose() const;

    // Fits both gears into the widget; the view follows resizes and new values again.
    void fit();
    // Whether the view is fitted (no zoom or pan since).
    bool fitted() const { return m_autoFit; }
    // Model (mm, y up) to widget coordinates (logical pixels).
    QTransform view() const;
    QPointF toWidget(Point2 model) const { return view().map(QPointF(model.x, model.y)); }

    // Paints one frame into painter over a width x height area in logical pixels at ratio
    // device pixels per logical pixel (the benchmark paints into an image with this).
    void paintFrame(QPainter& painter, double width, double height, double ratio) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // The fitted scale and centre for the current scene and size.
    void fitView();

    std::shared_ptr<const MeshScene> m_scene;
    double m_phi1 = 0;
    double m_scale = 1;  // logical pixels per mm
    QPointF m_centre;    // model point shown at the widget's centre
    bool m_autoFit = true;
    bool m_dragging = false;
    QPointF m_lastDrag;
};

}  // namespace kellvor
