#include "output/background_writer.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace kellvor {

// The thread takes the write calls off the formatting thread, so that the disk works while the
// next blocks are formatted; the bench's "one thread" row is the same work without it and the
// trace thread.
BackgroundWriter::BackgroundWriter(std::size_t blockBytes, std::size_t maxBlocks, bool ownThread)
    : m_blockBytes(blockBytes), m_maxBlocks(maxBlocks) {
    if (!ownThread)
        return;
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had: submit() writes each block itself, only slower.
    }
}

BackgroundWriter::~BackgroundWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_jobs.clear();
    }
    m_work.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool BackgroundWriter::failedLocked(const ByteSink* sink) const {
    return std::find(m_failed.begin(), m_failed.end(), sink) != m_failed.end();
}

BackgroundWriter::Block BackgroundWriter::takeLocked(std::unique_lock<std::mutex>& lock) {
    if (m_free.empty() && m_allocated < m_maxBlocks) {
        ++m_allocated;
        return Block(new char[m_blockBytes]);
    }
    m_done.wait(lock, [this] { return !m_free.empty(); });
    Block b = std::move(m_free.back());
    m_free.pop_back();
    return b;
}

BackgroundWriter::Block BackgroundWriter::take() {
    std::unique_lock lock(m_mutex);
    return takeLocked(lock);
}

BackgroundWriter::Block BackgroundWriter::submit(ByteSink& sink, Block full, std::size_t size,
                                                 bool& ok) {
    std::unique_lock lock(m_mutex);
    if (m_thrown)
        std::rethrow_exception(std::exchange(m_thrown, nullptr));
    ok = !failedLocked(&sink);
    if (ok && !threaded()) {
        ok = sink.write(full.get(), size);
        if (!ok)
            m_failed.push_back(&sink);
        return full;
    }
    if (ok) {
        m_jobs.push_back(Job{&sink, std::move(full), size});
        m_work.notify_one();
    } else {
        m_free.push_back(std::move(full));
    }
    return takeLocked(lock);
}

bool BackgroundWriter::drain(const ByteSink& sink) {
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [&] {
        return m_writing != &sink && std::none_of(m_jobs.begin(), m_jobs.end(),
                                                  [&](const Job& j) { return j.sink == &sink; });
    });
    if (m_thrown)
        std::rethrow_exception(std::exchange(m_thrown, nullptr));
    return !failedLocked(&sink);
}

void BackgroundWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_stop)
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        // A sink that failed once is not called again: its file will not be kept anyway.
        const bool skip = failedLocked(job.sink);
        m_writing = job.sink;
        lock.unlock();
        bool ok = true;
        try {
            ok = skip || job.sink->write(job.block.get(), job.size);
        } catch (...) {
            // Handed to the formatting thread, which ends the command with it.
            ok = false;
            lock.lock();
            m_thrown = std::current_exception();
            lock.unlock();
        }
        lock.lock();
        if (!ok)
            m_failed.push_back(job.sink);
        m_writing = nullptr;
        m_free.push_back(std::move(job.block));
        m_done.notify_all();
    }
}

}  // namespace kellvor
