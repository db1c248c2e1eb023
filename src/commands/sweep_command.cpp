#include "commands/sweep_command.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "commands/command_messages.h"

namespace kellvor {
namespace {

// Points per block: large enough that taking a block and waiting for one's turn cost nothing
// beside computing it, small enough that a block's text stays a few hundred kilobytes.
constexpr std::int64_t kBlockPoints = 2048;

// The shared state of the workers: which block comes next, which block may be written.
struct SweepState {
    SweepState(const SweepGrid& g, const SweepRowFormatter& f, ByteSink& out,
               const ProgressCallback& p)
        : grid(g), format(f), sink(out), progress(p) {}

    const SweepGrid& grid;
    const SweepRowFormatter& format;
    ByteSink& sink;
    const ProgressCallback& progress;
    std::int64_t total = 0;
    std::int64_t blocks = 0;
    std::atomic<std::int64_t> nextBlock{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable turn;
    std::int64_t written = 0;  // blocks written so far (under mutex)
    std::int64_t rows = 0;     // rows written so far (under mutex)
    bool failed = false;
    bool cancelled = false;
};

void work(SweepState& s) {
    std::string text;
    for (;;) {
        const std::int64_t block = s.nextBlock.fetch_add(1);
        if (block >= s.blocks || s.stop.load())
            return;
        const std::int64_t first = block * kBlockPoints;
        const std::int64_t last = std::min(s.total, first + kBlockPoints);
        text.clear();
        std::int64_t rows = 0;
        for (std::int64_t i = first; i < last; ++i)
            rows += s.format(s.grid.point(i), text) ? 1 : 0;
        std::unique_lock lock(s.mutex);
        // Blocks leave in grid order: wait for the block before this one to be written.
        s.turn.wait(lock, [&] { return s.written == block || s.stop.load(); });
        if (s.stop.load())
            return;
        if (!s.sink.write(text.data(), text.size())) {
            s.failed = true;
            s.stop = true;
        } else {
            s.rows += rows;
            ++s.written;
            if (s.progress && !s.progress(last, s.total)) {
                s.cancelled = true;
                s.stop = true;
            }
        }
        lock.unlock();
        s.turn.notify_all();
    }
}

}  // namespace

SweepOutcome runSweep(const SweepGrid& grid, std::string_view header,
                      const SweepRowFormatter& format, ByteSink& sink,
                      const ProgressCallback& progress, unsigned threads) {
    SweepOutcome out;
    SweepState s(grid, format, sink, progress);
    s.total = grid.size();
    s.blocks = (s.total + kBlockPoints - 1) / kBlockPoints;
    if (!sink.write(header.data(), header.size())) {
        out.result = failure(CommandStatus::fileError, "");
        return out;
    }
    const unsigned wanted =
        threads > 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    const auto useful =
        static_cast<unsigned>(std::min<std::int64_t>(wanted, std::max<std::int64_t>(s.blocks, 1)));
    // The other cores each take a thread; where a thread cannot start, the blocks it would have
    // taken fall to those that did, this one included.
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < useful; ++t) {
        try {
            helpers.emplace_back([&s] { work(s); });
        } catch (const std::system_error&) {
            break;
        }
    }
    work(s);
    for (std::thread& t : helpers)
        t.join();
    out.points = std::min(s.total, s.written * kBlockPoints);
    out.rows = s.rows;
    if (s.failed)
        out.result = failure(CommandStatus::fileError, "");
    else if (s.cancelled)
        out.result = failure(CommandStatus::cancelled, std::string(messages::kCancelled));
    return out;
}

}  // namespace kellvor
