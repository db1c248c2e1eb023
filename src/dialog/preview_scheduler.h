// Previews drawn off the window's thread while the user types.
#pragma once

#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <memory>

#include "commands/preview_command.h"
#include "preview/preview_raster.h"

namespace kellvor {

// Waits for a pause in typing, then draws the preview of the newest values on a worker thread;
// a newer request cancels the older one at its next tooth, and only a picture of the newest
// values is delivered. The window's thread never waits for a picture.
class PreviewScheduler : public QObject {
    Q_OBJECT

  public:
    explicit PreviewScheduler(QObject* parent = nullptr);
    // Cancels the running picture and waits for its thread.
    ~PreviewScheduler() override;

    // The pause after the last request before drawing starts (about 150 ms).
    void setPauseMs(int ms) { m_pause.setInterval(ms); }

    // Asks for the picture of a request (its size in device pixels); replaces every earlier
    // request that has not delivered yet.
    void request(const PreviewRequest& request);

    // Drops the pending request and cancels the running picture.
    void cancel();

    // Whether a request waits or a picture is being drawn.
    bool busy() const;

  signals:
    // The finished picture of the newest request (on the window's thread).
    void pictureReady(const RgbImage& image);

  private:
    void start();

    QTimer m_pause;
    PreviewRequest m_request;
    // Counts requests; a picture whose number is no longer the newest is dropped.
    std::shared_ptr<std::atomic<std::uint64_t>> m_newest;
    std::shared_ptr<std::atomic<int>> m_running;
    QThreadPool m_pool;
};

}  // namespace kellvor
