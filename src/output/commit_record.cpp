#include "output/commit_record.h"

#include <algorithm>
#include <sstream>

#include "output/file_names.h"

namespace kellvor {
namespace {

constexpr std::string_view kForwardHeader = "kellvor-switch 1 forward";
constexpr std::string_view kBackHeader = "kellvor-switch 1 back";
// The last line, with the line ends around it.
constexpr std::string_view kEndLine = "\nend\n";
// Stands for an empty name, so that every entry line has the same three fields.
constexpr std::string_view kNone = "-";

void appendField(std::string& text, const std::string& name, char after) {
    text.append(name.empty() ? kNone : std::string_view(name));
    text.push_back(after);
}

// name is empty, or the helper of kind for target.
bool belongsTo(const std::string& name, HelperKind kind, const std::string& target) {
    if (name.empty())
        return true;
    const auto helper = parseHelperName(name);
    return helper && helper->kind == kind && helper->target == target;
}

}  // namespace

std::string formatCommitRecord(const CommitRecord& record) {
    std::string text(record.direction == SwitchDirection::forward ? kForwardHeader : kBackHeader);
    for (const SwitchEntry& e : record.entries) {
        text.push_back('\n');
        appendField(text, e.target, ' ');
        appendField(text, e.temporary, ' ');
        text.append(e.backup.empty() ? kNone : std::string_view(e.backup));
    }
    text.append(kEndLine);
    return text;
}

ParsedRecord parseCommitRecord(std::string_view text) {
    ParsedRecord out;
    // A record is written in one piece and synced before any rename; without its end line the
    // run that wrote it never switched.
    if (!text.ends_with(kEndLine)) {
        out.problem = RecordProblem::incomplete;
        return out;
    }
    std::istringstream in{std::string(text.substr(0, text.size() - kEndLine.size() + 1))};
    std::string line;
    std::getline(in, line);
    if (line == kForwardHeader)
        out.record.direction = SwitchDirection::forward;
    else if (line == kBackHeader)
        out.record.direction = SwitchDirection::back;
    else {
        out.problem = RecordProblem::malformed;
        return out;
    }
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        SwitchEntry e;
        std::string extra;
        if (!(fields >> e.target >> e.temporary >> e.backup) || (fields >> extra)) {
            out.problem = RecordProblem::malformed;
            return out;
        }
        if (e.temporary == kNone)
            e.temporary.clear();
        if (e.backup == kNone)
            e.backup.clear();
        const bool duplicate =
            std::any_of(out.record.entries.begin(), out.record.entries.end(),
                        [&](const SwitchEntry& other) { return other.target == e.target; });
        if (!isSetFileName(e.target) || duplicate ||
            !belongsTo(e.temporary, HelperKind::temporary, e.target) ||
            !belongsTo(e.backup, HelperKind::backup, e.target)) {
            out.problem = RecordProblem::foreignName;
            return out;
        }
        out.record.entries.push_back(std::move(e));
    }
    return out;
}

}  // namespace kellvor
