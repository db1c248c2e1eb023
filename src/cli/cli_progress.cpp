#include "cli/cli_progress.h"

#include <memory>
#include <optional>
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
    std::string waitingText;
    std::string_view label;
    Clock::time_point lastDrawn{};
    bool shown = false;
    std::optional<Clock::time_point> waitingSince{};  // start of the current run of 0-of-0 calls
    bool waitShown = false;

    void wait() {
        const auto now = Clock::now();
        if (!waitingSince)
            waitingSince = now;
        if (!waitShown && !waitingText.empty() && now - *waitingSince >= delay) {
            out << waitingText << std::endl;
            waitShown = true;
        }
    }

    void draw(std::int64_t done, std::int64_t total) {
        const std::int64_t percent = total > 0 ? done * 100 / total : 100;
        out << "\r" << label << done << " / " << total << " (" << percent << " %)" << std::flush;
        shown = true;
    }

    bool operator()(std::int64_t done, std::int64_t total) {
        if (total == 0) {
            wait();
            return true;
        }
        waitingSince.reset();
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
                                      std::string waitingText, std::string_view label) {
    auto state = std::make_shared<TerminalProgress>(
        TerminalProgress{out, Clock::now(), delay, std::move(waitingText),
                         label.empty() ? cli_messages::kTeethProgress : label});
    return [state](std::int64_t done, std::int64_t total) { return (*state)(done, total); };
}

}  // namespace kellvor
