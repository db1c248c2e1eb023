#include "cli/cli_progress.h"

#include <memory>
#include <ostream>

#include "cli/cli_messages.h"

namespace kellvor {
namespace {

using Clock = std::chrono::steady_clock;

// Looking at the clock for every tooth would cost more than a small tooth takes to write.
constexpr std::int64_t kTeethBetweenClockReads = 1024;
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

struct TerminalProgress {
    std::ostream& out;
    Clock::time_point start;
    std::chrono::milliseconds delay;
    std::string_view label;
    Clock::time_point lastDrawn{};
    bool shown = false;

    void draw(std::int64_t done, std::int64_t total) {
        const std::int64_t percent = total > 0 ? done * 100 / total : 100;
        out << "\r" << label << done << " / " << total << " (" << percent << " %)" << std::flush;
        shown = true;
    }

    bool operator()(std::int64_t done, std::int64_t total) {
        const bool last = done >= total;
        if (!last && done % kTeethBetweenClockReads != 0)
            return true;
        const auto now = Clock::now();
        if (now - start < delay && !shown)
            return true;
        if (last || !shown || now - lastDrawn >= kRedrawInterval) {
            draw(done, total);
            lastDrawn = now;
        }
        if (last && shown)
            out << '\n';
        return true;
    }
};

}  // namespace

ProgressCallback makeTerminalProgress(std::ostream& out, std::chrono::milliseconds delay,
                                      std::string_view label) {
    auto state = std::make_shared<TerminalProgress>(TerminalProgress{
        out, Clock::now(), delay, label.empty() ? cli_messages::kTeethProgress : label});
    return [state](std::int64_t done, std::int64_t total) { return (*state)(done, total); };
}

}  // namespace kellvor
