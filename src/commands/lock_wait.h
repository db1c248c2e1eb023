// The wait for an output folder's lock, shown and cancelled through a command's progress.
#pragma once

#include "outline/progress.h"
#include "output/output_folder.h"

namespace kellvor {

// Calls progress(0, 0) while another run holds the lock, so that a terminal or a dialog can say
// that the command waits and can stop it; empty when progress is.
inline LockWait lockWaitThrough(const ProgressCallback& progress) {
    if (!progress)
        return {};
    return [progress](std::chrono::milliseconds) { return progress(0, 0); };
}

// The last question before a command changes files: progress(0, 0), true without progress.
inline bool stillWanted(const ProgressCallback& progress) {
    return !progress || progress(0, 0);
}

}  // namespace kellvor
