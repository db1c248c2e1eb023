// The commit record of a set switch: which temporaries become which names, in which direction.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kellvor {

// One name of the set that a switch changes.
struct SwitchEntry {
    std::string target;     // Kellvor file name in the folder
    std::string temporary;  // the complete new file; empty when the switch removes target
    std::string backup;     // hard link to the earlier target; empty when there was none
};

// Which way a recovery completes the switch.
enum class SwitchDirection {
    forward,  // every temporary becomes its target, removed targets go
    back,     // every backup becomes its target again, targets without one go
};

// A switch as written into its record.
struct CommitRecord {
    SwitchDirection direction = SwitchDirection::forward;
    std::vector<SwitchEntry> entries;
};

// Why a record found in the folder is not followed.
enum class RecordProblem {
    none,         // complete and valid
    incomplete,   // no end line: its run died while writing it, before any rename
    malformed,    // not a record of this format
    foreignName,  // names a file outside the set, or helper names that do not belong to it
};

// A record read back: valid only when problem is none.
struct ParsedRecord {
    CommitRecord record;
    RecordProblem problem = RecordProblem::none;
};

// The text of record: a header line, one line per entry, an end line.
std::string formatCommitRecord(const CommitRecord& record);

// Reads a record's text. Every target must be a set file name and every temporary and backup
// the helper name of its own target; each target appears once.
ParsedRecord parseCommitRecord(std::string_view text);

}  // namespace kellvor
