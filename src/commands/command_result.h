// Outcome of the file command and the preview command.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "geometry/input_validation.h"
#include "outline/mesh_check.h"
#include "outline/progress.h"

namespace kellvor {

// How a command ended.
enum class CommandStatus {
    ok,           // done: files replaced, or picture drawn
    outOfRange,   // range test failed: nothing computed, written or drawn
    notDrawable,  // the values pass, but the gear's contour would cross itself: nothing done
    fitFailed,    // no circle closes the tooth gap: nothing written or drawn
    fileError,    // a file could not be written (or no space): earlier files unchanged
    cancelled,    // stopped through the progress callback: earlier files unchanged
};

// The outcome with a German message for the user (empty on success).
struct CommandResult {
    CommandStatus status = CommandStatus::ok;
    std::string message;                           // names the file and the reason, or the field
    std::optional<RangeViolation> violation;       // set for outOfRange of one of the eight values
    std::optional<MeshCheck> mesh = std::nullopt;  // the pair's mesh check, when it was written
    std::vector<std::string> files;                // the files written, by name, on success

    bool ok() const { return status == CommandStatus::ok; }
};

// A failed command with its message.
inline CommandResult failure(CommandStatus status, std::string message) {
    CommandResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

}  // namespace kellvor
