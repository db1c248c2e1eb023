#include "output/set_recovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "output/commit_record.h"
#include "output/file_names.h"
#include "output/output_messages.h"

namespace kellvor {
namespace {

// A record lists at most a few dozen short lines.
constexpr off_t kMaxRecordBytes = 64 * 1024;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

// The entry name in the folder without following a link; nothing when it does not exist.
std::optional<struct stat> entryStatus(int fd, const std::string& name, std::error_code& ec) {
    struct stat st;
    if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return st;
    if (errno != ENOENT)
        ec = lastError();
    return std::nullopt;
}

// The names in the folder that follow a helper pattern.
std::vector<std::pair<std::string, HelperName>> listHelpers(int fd, std::error_code& ec) {
    std::vector<std::pair<std::string, HelperName>> found;
    // A descriptor of its own, since the directory stream takes it over.
    const int listFd = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (dir == nullptr) {
        ec = lastError();
        if (listFd >= 0)
            ::close(listFd);
        return found;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (auto helper = parseHelperName(entry->d_name))
            found.emplace_back(entry->d_name, std::move(*helper));
        errno = 0;
    }
    if (errno != 0)
        ec = lastError();
    ::closedir(dir);
    return found;
}

// The record named name if this user may follow it; otherwise why not, in leftAlone or error.
struct RecordCheck {
    std::optional<CommitRecord> record;
    bool unfinished = false;  // an own record without its end line: safe to remove
};

RecordCheck readRecord(const OutputFolder& folder, const std::string& name,
                       RecoveryReport& report) {
    RecordCheck out;
    const std::filesystem::path path = folder.path() / name;
    // O_NONBLOCK: a planted FIFO must not stop the run.
    const int fd = ::openat(folder.fd(), name.c_str(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ELOOP)
            report.leftAlone.push_back(
                output_messages::leftAlone(path, output_messages::kNotRegular));
        else if (errno != ENOENT)
            report.leftAlone.push_back(output_messages::leftAloneUnreadable(path, lastError()));
        return out;
    }
    struct stat st;
    std::string text;
    std::string_view why;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        why = output_messages::kNotRegular;
    else if (st.st_uid != ::geteuid())
        why = output_messages::kOtherOwner;
    else if (st.st_size > kMaxRecordBytes)
        why = output_messages::kRecordTooLarge;
    else {
        text.resize(static_cast<std::size_t>(st.st_size));
        const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    ::close(fd);
    if (!why.empty()) {
        report.leftAlone.push_back(output_messages::leftAlone(path, why));
        return out;
    }
    ParsedRecord parsed = parseCommitRecord(text);
    switch (parsed.problem) {
        case RecordProblem::none:
            out.record = std::move(parsed.record);
            break;
        case RecordProblem::incomplete:
            out.unfinished = true;
            break;
        case RecordProblem::malformed:
            report.leftAlone.push_back(
                output_messages::leftAlone(path, output_messages::kRecordMalformed));
            break;
        case RecordProblem::foreignName:
            report.leftAlone.push_back(
                output_messages::leftAlone(path, output_messages::kRecordForeign));
            break;
    }
    return out;
}

// Finishes the switch of record in the folder; false with report.error on failure.
bool finishSwitch(const OutputFolder& folder, const CommitRecord& record, RecoveryReport& report) {
    const int fd = folder.fd();
    const bool forward = record.direction == SwitchDirection::forward;
    for (const SwitchEntry& e : record.entries) {
        // Forward, the temporary becomes the name (a missing temporary was renamed already);
        // back, the backup does. Without that file the name goes: it was removed by the
        // switch (forward) or created by it (back).
        const std::string& source = forward ? e.temporary : e.backup;
        std::error_code ec;
        if (!source.empty()) {
            const auto st = entryStatus(fd, source, ec);
            if (st && st->st_uid != ::geteuid()) {
                report.error = output_messages::leftAlone(folder.path() / source,
                                                          output_messages::kOtherOwner);
                return false;
            }
            if (st && ::renameat(fd, source.c_str(), fd, e.target.c_str()) != 0)
                ec = lastError();
            if (st && !ec)
                ++(forward ? report.filesForward : report.filesBack);
        } else if (forward || !e.temporary.empty()) {
            const auto st = entryStatus(fd, e.target, ec);
            if (st && !S_ISDIR(st->st_mode) && ::unlinkat(fd, e.target.c_str(), 0) != 0 &&
                errno != ENOENT)
                ec = lastError();
        }
        if (ec) {
            report.error = output_messages::fileError(folder.path() / e.target,
                                                      output_messages::kCannotRecover, ec);
            return false;
        }
    }
    if (const std::error_code ec = folder.sync()) {
        report.error =
            output_messages::folderError(folder.path(), output_messages::kCannotSyncFolder, ec);
        return false;
    }
    return true;
}

// Removes name when this user owns it; otherwise reports it as left alone.
void removeLeftover(const OutputFolder& folder, const std::string& name, RecoveryReport& report) {
    std::error_code ec;
    const auto st = entryStatus(folder.fd(), name, ec);
    if (!st)
        return;
    const std::filesystem::path path = folder.path() / name;
    if (st->st_uid != ::geteuid())
        report.leftAlone.push_back(output_messages::leftAlone(path, output_messages::kOtherOwner));
    else if (!S_ISREG(st->st_mode) && !S_ISLNK(st->st_mode))
        report.leftAlone.push_back(output_messages::leftAlone(path, output_messages::kNotRegular));
    else if (::unlinkat(folder.fd(), name.c_str(), 0) == 0)
        ++report.leftoversRemoved;
    else if (errno != ENOENT)
        report.leftAlone.push_back(
            output_messages::fileError(path, output_messages::kCannotRemove, lastError()));
}

}  // namespace

RecoveryReport recoverFolder(const OutputFolder& folder) {
    RecoveryReport report;
    std::error_code ec;
    const auto helpers = listHelpers(folder.fd(), ec);
    if (ec) {
        report.error =
            output_messages::folderError(folder.path(), output_messages::kCannotListFolder, ec);
        return report;
    }
    std::vector<std::pair<std::string, CommitRecord>> trusted;
    std::vector<std::string> finished;
    for (const auto& [name, helper] : helpers) {
        if (helper.kind != HelperKind::record)
            continue;
        RecordCheck check = readRecord(folder, name, report);
        if (check.record)
            trusted.emplace_back(name, std::move(*check.record));
        else if (check.unfinished)
            finished.push_back(name);
    }
    // First every committed switch, while its temporaries and backups are still there. A run
    // that undoes its switch writes the back record before it drops the forward one, so a
    // back record, where there is one, decides.
    const bool undone = std::any_of(trusted.begin(), trusted.end(), [](const auto& t) {
        return t.second.direction == SwitchDirection::back;
    });
    for (const auto& [name, record] : trusted) {
        if ((!undone || record.direction == SwitchDirection::back) &&
            !finishSwitch(folder, record, report))
            return report;
        finished.push_back(name);
    }
    for (const auto& [name, helper] : helpers) {
        if (helper.kind != HelperKind::record && isSetFileName(helper.target))
            removeLeftover(folder, name, report);
    }
    // The records go last: until here a crash repeats the same recovery.
    for (const std::string& name : finished)
        removeLeftover(folder, name, report);
    if (report.changed())
        (void)folder.sync();
    return report;
}

int removeStaleTemporaries(const OutputFolder& folder, const std::string& target) {
    std::error_code ec;
    RecoveryReport report;
    for (const auto& [name, helper] : listHelpers(folder.fd(), ec)) {
        if (helper.kind == HelperKind::temporary && helper.target == target)
            removeLeftover(folder, name, report);
    }
    return report.leftoversRemoved;
}

std::string describeRecovery(const RecoveryReport& report, const std::filesystem::path& dir) {
    std::string text = output_messages::recoveryDone(dir, report.filesForward, report.filesBack,
                                                     report.leftoversRemoved);
    for (const std::string& line : report.leftAlone)
        text += "\n" + line;
    return text;
}

}  // namespace kellvor
