// A thread that passes filled blocks to their sinks while the next blocks are being formatted.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "output/byte_sink.h"

namespace kellvor {

// Writes queued blocks in order on its own thread; blocks are handed over, never copied. Where no
// thread can be started (a process or memory limit), every block is written at once on the
// calling thread instead.
class BackgroundWriter {
  public:
    // A block of blockBytes bytes.
    using Block = std::unique_ptr<char[]>;

    // Starts the thread (unless ownThread is false); at most maxBlocks blocks of blockBytes exist
    // at any time.
    BackgroundWriter(std::size_t blockBytes, std::size_t maxBlocks, bool ownThread = true);
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;
    // Drops the blocks not yet written and stops the thread.
    ~BackgroundWriter();

    // An empty block to fill (waits while all blocks are in use).
    Block take();
    // Queues the first size bytes of full for sink and returns an empty block. ok turns false
    // when a block for sink has failed (later blocks for it are dropped, the sink is not called
    // again). Rethrows what a sink threw on the thread.
    Block submit(ByteSink& sink, Block full, std::size_t size, bool& ok);
    // Waits until every queued block for sink is written; false when one of them failed.
    // Rethrows what a sink threw on the thread.
    bool drain(const ByteSink& sink);
    // False when the blocks are written on the calling thread.
    bool threaded() const { return m_thread.joinable(); }

  private:
    struct Job {
        ByteSink* sink;
        Block block;
        std::size_t size;
    };

    void run();
    bool failedLocked(const ByteSink* sink) const;
    Block takeLocked(std::unique_lock<std::mutex>& lock);

    const std::size_t m_blockBytes;
    const std::size_t m_maxBlocks;
    std::mutex m_mutex;
    std::condition_variable m_work;  // the thread waits here for jobs
    std::condition_variable m_done;  // callers wait here for free blocks and drained sinks
    std::deque<Job> m_jobs;
    std::vector<Block> m_free;
    std::vector<const ByteSink*> m_failed;
    std::size_t m_allocated = 0;
    const ByteSink* m_writing = nullptr;  // the sink the thread is writing to right now
    bool m_stop = false;
    std::exception_ptr m_thrown;  // what a sink threw on the thread
    std::thread m_thread;
};

}  // namespace kellvor
