// Recovery of an output folder after a run died: a committed switch is finished, everything
// else that run left behind is removed.
#pragma once

#include <string>
#include <vector>

#include "output/output_folder.h"

namespace kellvor {

// What a recovery did and found.
struct RecoveryReport {
    int filesForward = 0;                // temporaries a dead run's committed switch put in place
    int filesBack = 0;                   // earlier files a dead run's undone switch put back
    int leftoversRemoved = 0;            // temporaries, backups and unfinished records removed
    std::vector<std::string> leftAlone;  // German: each foreign file found and why it stays
    std::string error;                   // German: why the recovery failed; empty on success

    bool ok() const { return error.empty(); }
    // True when the folder was changed.
    bool changed() const { return filesForward + filesBack + leftoversRemoved > 0; }
};

// Recovers folder, whose lock the caller holds. A commit record is followed only when it is a
// regular file of this user, opened without following links, complete, and names only Kellvor's
// own files with their own helper names; then its switch is finished (forward: the listed
// temporaries that still exist become their names, removed names go; back: the backups return).
// Then every temporary and backup of a set file that this user owns is removed, and the record.
// Anything else that looks like a helper is reported and left alone. On failure (error) the
// folder keeps what a later recovery needs.
RecoveryReport recoverFolder(const OutputFolder& folder);

// Removes the temporaries of target (any name) that this user left in folder, whose lock the
// caller holds; returns how many were removed.
int removeStaleTemporaries(const OutputFolder& folder, const std::string& target);

// German text of what report says for dir: one line, then one line per file left alone (the
// error, if any, is not part of it).
std::string describeRecovery(const RecoveryReport& report, const std::filesystem::path& dir);

}  // namespace kellvor
