// The mesh window: the pair turning at its centre distance, the mesh check measured on the drawn
// outlines and the findings beside it, following the dialog's values.
#pragma once

#include <QElapsedTimer>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>

#include "dialog/mesh_scene.h"
#include "geometry/gear_pair_input.h"

class QLabel;
class QPushButton;
class QSlider;

namespace kellvor {

class FindingsList;
class MeshCanvas;

// A resizable window with the picture, a play/pause button and a slider that turn gear 1 (gear 2
// follows at phi1 z1 / z2), and the check's values, the findings and, where the two disagree, one
// line saying so. New values are prepared on a worker thread; the window never waits for them.
class MeshWindow : public QWidget {
    Q_OBJECT

  public:
    explicit MeshWindow(QWidget* parent = nullptr);
    // Waits for a scene still being prepared.
    ~MeshWindow() override;

    // The scene shown (nullptr before the first one).
    const std::shared_ptr<const MeshScene>& scene() const { return m_scene; }
    // Whether values wait or are being prepared.
    bool busy() const;
    // Whether the pair turns by itself.
    bool playing() const { return m_clock.isActive(); }
    // The turn of gear 1 in degrees ccw.
    double phi1() const;

    // The controls and the lines beside the picture, for tests.
    MeshCanvas* canvas() const { return m_canvas; }
    QSlider* slider() const { return m_slider; }
    QPushButton* playButton() const { return m_play; }
    QPushButton* showPlaceButton() const { return m_showPlace; }
    QLabel* disagreementLine() const { return m_disagreement; }
    QLabel* statusLine() const { return m_status; }
    FindingsList* findingsList() const { return m_findings; }

    // Slider steps per degree of gear 1.
    static constexpr int kSliderStepsPerDegree = 1000;

  public slots:
    // Shows the pair of input with the normal backlash jn (mm), prepared after a short pause so
    // that typing collapses into one preparation.
    void setPair(const kellvor::GearPairInput& input, double backlash);
    // Turns gear 1 to phi1 degrees (gear 2 follows) and moves the slider there.
    void setPhi1(double degrees);
    // Starts or stops the turning.
    void setPlaying(bool on);

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    QWidget* buildCheckPanel();
    void start();
    void showScene(std::shared_ptr<const MeshScene> scene);
    void showCheck();
    void advance();

    MeshCanvas* m_canvas = nullptr;
    QPushButton* m_play = nullptr;
    QSlider* m_slider = nullptr;
    QLabel* m_turn = nullptr;
    QLabel* m_values = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_disagreement = nullptr;
    QPushButton* m_showPlace = nullptr;
    FindingsList* m_findings = nullptr;

    std::shared_ptr<const MeshScene> m_scene;
    // The newest values asked for, prepared after the pause.
    GearPairInput m_input;
    double m_backlash = 0;
    bool m_asked = false;
    QTimer m_pause;
    // Counts requests; a scene whose number is no longer the newest is dropped.
    std::shared_ptr<std::atomic<std::uint64_t>> m_newest;
    std::shared_ptr<std::atomic<int>> m_running;
    QThreadPool m_pool;
    // Turning: a frame per timer tick, phi1 from the time since the start.
    QTimer m_clock;
    QElapsedTimer m_since;
    double m_playFrom = 0;
};

}  // namespace kellvor
