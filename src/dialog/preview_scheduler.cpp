#include "dialog/preview_scheduler.h"

#include <ostream>

namespace kellvor {

PreviewScheduler::PreviewScheduler(QObject* parent)
    : QObject(parent),
      m_newest(std::make_shared<std::atomic<std::uint64_t>>(0)),
      m_running(std::make_shared<std::atomic<int>>(0)) {
    qRegisterMetaType<RgbImage>("RgbImage");
    m_pause.setSingleShot(true);
    m_pause.setInterval(150);
    connect(&m_pause, &QTimer::timeout, this, &PreviewScheduler::start);
    // One worker: a newer picture waits for the older one, which gives up at its next tooth.
    m_pool.setMaxThreadCount(1);
}

PreviewScheduler::~PreviewScheduler() {
    cancel();
    m_pool.waitForDone();
}

void PreviewScheduler::request(const PreviewRequest& request) {
    m_request = request;
    ++*m_newest;  // the running picture, if any, is stale now
    m_pause.start();
}

void PreviewScheduler::cancel() {
    m_pause.stop();
    ++*m_newest;
}

bool PreviewScheduler::busy() const {
    return m_pause.isActive() || m_running->load() > 0;
}

void PreviewScheduler::start() {
    const std::uint64_t mine = m_newest->load();
    const PreviewRequest request = m_request;
    auto newest = m_newest;
    auto running = m_running;
    ++*running;
    m_pool.start([this, mine, request, newest, running] {
        // The preview command reports every tooth; a newer request stops this one there.
        const ProgressCallback stillWanted = [&](std::int64_t, std::int64_t) {
            return newest->load() == mine;
        };
        std::ostream silent(nullptr);  // live previews print no "n: " lines
        PreviewResult preview = runPreviewCommand(request, silent, stillWanted);
        if (preview.result.ok() && newest->load() == mine) {
            // Delivered through the window's event loop; dropped if a newer request came since.
            QMetaObject::invokeMethod(
                this,
                [this, mine, newest, image = std::move(preview.image)] {
                    if (newest->load() == mine)
                        emit pictureReady(image);
                },
                Qt::QueuedConnection);
        }
        --*running;
    });
}

}  // namespace kellvor
