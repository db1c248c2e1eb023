// Outcome and progress reporting shared by the file command and the preview command.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "geometry/input_validation.h"

namespace kellvor {

// How a command ended.
enum class CommandStatus {
    ok,          // done: files replaced, or picture drawn
    outOfRange,  // range test failed: nothing computed, written or drawn
    fitFailed,   // no circle closes the tooth gap: nothing written or drawn
    fileError,   // a file could not be written (or no space): earlier files unchanged
    cancelled,   // stopped through the progress callback: earlier files unchanged
};

// The outcome with a German message for the user (empty on success).
struct CommandResult {
    CommandStatus status = CommandStatus::ok;
    std::string message;                      // names the file and the reason, or the field
    std::optional<RangeViolation> violation;  // set for outOfRange
};

// The outcome of a failed range test: the warning text, then the field and its allowed range.
inline CommandResult outOfRangeResult(const RangeViolation& violation) {
    return CommandResult{CommandStatus::outOfRange,
                         std::string(kRangeWarningText) + "\n" + describeRangeViolation(violation),
                         violation};
}

// Called while a command works with the teeth done so far and the total; false cancels.
using ProgressCallback = std::function<bool(std::int64_t done, std::int64_t total)>;

}  // namespace kellvor
