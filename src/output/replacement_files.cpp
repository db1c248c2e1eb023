#include "output/replacement_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "output/commit_record.h"
#include "output/file_names.h"
#include "output/output_messages.h"

namespace kellvor {
namespace {

// How often a new random name is tried when one is taken already.
constexpr int kNameAttempts = 100;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

// In a folder with the sticky bit (such as /tmp) only the owner of a name, the folder's owner
// or root may rename over it or remove it. The rename would fail half way through the switch,
// so it is found out before anything changes.
bool stickyForbids(const struct stat& folder, const struct stat& target) {
    const uid_t me = ::geteuid();
    return (folder.st_mode & S_ISVTX) != 0 && me != 0 && target.st_uid != me && folder.st_uid != me;
}

}  // namespace

ReplacementFiles::ReplacementFiles(std::filesystem::path dir, ReplacementScope scope, LockWait wait)
    : m_dir(std::move(dir)), m_scope(scope), m_wait(std::move(wait)) {}

ReplacementFiles::~ReplacementFiles() {
    for (Entry& e : m_entries)
        e.sink.reset();
    // A switch that ended half way keeps its record, temporaries and backups: the next
    // recovery completes it.
    if (!m_committing && !m_leftForRecovery)
        removeHelpers();
}

void ReplacementFiles::removeHelpers() {
    if (!m_folder)
        return;
    for (Entry& e : m_entries) {
        if (!e.temp.empty())
            ::unlinkat(m_folder->fd(), e.temp.c_str(), 0);
        if (!e.backup.empty())
            ::unlinkat(m_folder->fd(), e.backup.c_str(), 0);
        e.temp.clear();
        e.backup.clear();
    }
}

bool ReplacementFiles::step(ReplacementStep s, const std::string& name, std::error_code& ec) {
    if (m_hook)
        ec = m_hook(s, name);
    return !ec;
}

bool ReplacementFiles::open() {
    if (m_opened)
        return m_folder && m_message.empty() && !m_cancelled && !m_openError;
    m_opened = true;
    m_folder.emplace(m_dir);
    switch (m_folder->lock(m_wait)) {
        case LockStatus::gaveUp:
            m_cancelled = true;
            return false;
        case LockStatus::failed:
            m_openError = m_folder->error();
            return false;
        case LockStatus::locked:
            break;
    }
    if (m_scope == ReplacementScope::fileSet) {
        m_recovery = recoverFolder(*m_folder);
        if (!m_recovery.ok()) {
            m_message = m_recovery.error;
            return false;
        }
    }
    return true;
}

void ReplacementFiles::fail(const std::string& name, std::error_code ec, std::string_view action) {
    if (m_message.empty())
        m_message = output_messages::fileError(m_dir / name, action, ec);
}

std::filesystem::path ReplacementFiles::temporaryPath(const std::string& name) const {
    for (const Entry& e : m_entries)
        if (e.name == name && !e.temp.empty())
            return m_dir / e.temp;
    return {};
}

FileSink* ReplacementFiles::create(const std::string& name) {
    if (!open()) {
        if (m_openError)
            fail(name, m_openError, output_messages::kCannotCreate);
        return nullptr;
    }
    if (m_scope == ReplacementScope::fileSet && !isSetFileName(name)) {
        fail(name, std::make_error_code(std::errc::invalid_argument),
             output_messages::kCannotCreate);
        return nullptr;
    }
    // A single file has no recovery of its own: the temporaries of its name that a dead run
    // left are found here, under the same lock.
    if (m_scope == ReplacementScope::singleFile)
        removeStaleTemporaries(*m_folder, name);
    // A random name, created exclusively and never through a link: a name planted in a shared
    // folder can neither be guessed nor followed.
    // The entry exists before the file does, so that the file is removed whatever happens.
    Entry& e = m_entries.emplace_back();
    e.name = name;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string temp = helperName(HelperKind::temporary, name, randomNameBits());
        const int fd = ::openat(m_folder->fd(), temp.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            e.temp = std::move(temp);
            e.sink = std::make_unique<FileSink>(fd);
            return e.sink.get();
        }
        if (errno != EEXIST)
            break;
    }
    fail(name, lastError(), output_messages::kCannotCreate);
    m_entries.pop_back();
    return nullptr;
}

void ReplacementFiles::addRemovals() {
    // Every set name this run does not write goes with the switch, so that the folder never
    // holds a file that describes another gear. A folder of that name is not Kellvor's.
    for (const std::string_view name : kSetFileNames) {
        const bool written = std::any_of(m_entries.begin(), m_entries.end(),
                                         [&](const Entry& e) { return e.name == name; });
        struct stat st;
        if (written ||
            ::fstatat(m_folder->fd(), std::string(name).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            S_ISDIR(st.st_mode))
            continue;
        Entry& e = m_entries.emplace_back();
        e.name = name;
        e.removal = true;
    }
}

bool ReplacementFiles::prepare(Entry& e) {
    const int fd = m_folder->fd();
    const std::string_view action =
        e.removal ? output_messages::kCannotRemove : output_messages::kCannotReplace;
    struct stat target;
    if (::fstatat(fd, e.name.c_str(), &target, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return true;
        fail(e.name, lastError(), action);
        return false;
    }
    std::error_code ec;
    struct stat folder;
    if (S_ISDIR(target.st_mode))
        ec = std::make_error_code(std::errc::is_a_directory);
    else if (::fstat(fd, &folder) == 0 && stickyForbids(folder, target))
        ec = std::make_error_code(std::errc::operation_not_permitted);
    if (ec) {
        fail(e.name, ec, action);
        return false;
    }
    // One rename cannot fail half way: a single file needs no way back.
    if (m_scope == ReplacementScope::singleFile)
        return true;
    // A second name for the earlier file costs no copy; it is the way back should a rename
    // fail after others succeeded. Without it nothing may be renamed.
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string backup = helperName(HelperKind::backup, e.name, randomNameBits());
        if (!step(ReplacementStep::backUp, e.name, ec))
            break;
        if (::linkat(fd, e.name.c_str(), fd, backup.c_str(), 0) == 0) {
            e.backup = std::move(backup);
            return true;
        }
        ec = lastError();
        if (errno != EEXIST)
            break;
    }
    fail(e.name, ec, output_messages::kCannotBackUp);
    return false;
}

bool ReplacementFiles::writeRecord(std::string& name, const std::string& text) {
    const int dirFd = m_folder->fd();
    std::error_code ec;
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0 && !ec; ++attempt) {
        name = helperName(HelperKind::record, {}, randomNameBits());
        if (!step(ReplacementStep::writeRecord, name, ec))
            break;
        fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0600);
        if (fd < 0 && errno != EEXIST)
            ec = lastError();
    }
    if (fd < 0) {
        fail(name, ec ? ec : std::make_error_code(std::errc::file_exists),
             output_messages::kCannotCreate);
        name.clear();
        return false;
    }
    FileSink sink(fd);
    if (!sink.write(text.data(), text.size()) || !sink.sync() || !sink.close()) {
        fail(name, sink.error(), output_messages::kCannotWrite);
    } else if (!step(ReplacementStep::syncFolder, name, ec) || (ec = m_folder->sync())) {
        if (m_message.empty())
            m_message = output_messages::folderError(m_dir, output_messages::kCannotSyncFolder, ec);
    } else {
        return true;
    }
    ::unlinkat(dirFd, name.c_str(), 0);
    name.clear();
    return false;
}

bool ReplacementFiles::commit(const std::function<bool()>& proceed) {
    if (!m_message.empty() || m_cancelled)
        return false;
    if (m_entries.empty())
        return true;
    std::error_code ec;
    for (Entry& e : m_entries) {
        if (!step(ReplacementStep::syncFile, e.name, ec)) {
            fail(e.name, ec, output_messages::kCannotWrite);
            return false;
        }
        if (!e.sink->sync() || !e.sink->close()) {
            fail(e.name, e.sink->error(), output_messages::kCannotWrite);
            return false;
        }
    }
    if (m_scope == ReplacementScope::fileSet)
        addRemovals();
    for (Entry& e : m_entries) {
        if (!prepare(e))
            return false;
    }
    if (proceed && !proceed()) {
        m_cancelled = true;
        return false;
    }
    // One rename is one step already; a record is needed where several names change. The back
    // record is formatted now, so that nothing after the point of no return needs memory.
    if (m_entries.size() > 1) {
        CommitRecord forward;
        CommitRecord back{SwitchDirection::back, {}};
        for (const Entry& e : m_entries)
            forward.entries.push_back(SwitchEntry{e.name, e.temp, e.backup});
        back.entries = forward.entries;
        m_undoText = formatCommitRecord(back);
        if (!writeRecord(m_record, formatCommitRecord(forward)))
            return false;
        m_committing = true;
    }
    return switchAll();
}

bool ReplacementFiles::switchAll() {
    const int fd = m_folder->fd();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        Entry& e = m_entries[i];
        std::error_code ec;
        if (step(e.removal ? ReplacementStep::remove : ReplacementStep::rename, e.name, ec)) {
            const int rc = e.removal ? ::unlinkat(fd, e.name.c_str(), 0)
                                     : ::renameat(fd, e.temp.c_str(), fd, e.name.c_str());
            if (rc != 0 && !(e.removal && errno == ENOENT))
                ec = lastError();
        }
        if (ec) {
            fail(e.name, ec,
                 e.removal ? output_messages::kCannotRemove : output_messages::kCannotReplace);
            undo(i);
            return false;
        }
        e.switched = true;
        e.temp.clear();
    }
    // The set is in place: from here a crash leaves helpers that the next run removes. The
    // backups go before the folder is synced (a forward record does not need them, and freeing
    // their blocks right after the sync's journal commit waits for it); the record only after,
    // once the renames are on the disk.
    std::error_code ec;
    step(ReplacementStep::cleanUp, m_record, ec);
    removeHelpers();
    ec.clear();
    if (step(ReplacementStep::syncFolder, m_record, ec))
        ec = m_folder->sync();
    if (ec)
        m_message = output_messages::notDurable(m_dir, ec);
    if (!m_record.empty())
        ::unlinkat(fd, m_record.c_str(), 0);
    m_record.clear();
    m_committing = false;
    return m_message.empty();
}

void ReplacementFiles::undo(std::size_t switchedCount) {
    const int fd = m_folder->fd();
    m_committing = false;
    if (switchedCount == 0) {
        // Nothing has changed yet: dropping the record is the whole undo.
        if (!m_record.empty() && ::unlinkat(fd, m_record.c_str(), 0) == 0)
            (void)m_folder->sync();
        m_record.clear();
        return;
    }
    // Names have changed: a back record takes over before any earlier file returns, so that a
    // crash in between is undone by the next recovery as well.
    std::string backRecord;
    if (!writeRecord(backRecord, m_undoText)) {
        m_leftForRecovery = true;
        m_message += output_messages::leftForRecovery(m_dir);
        return;
    }
    ::unlinkat(fd, m_record.c_str(), 0);
    m_record = backRecord;
    bool restored = true;
    for (std::size_t j = 0; j < switchedCount; ++j) {
        Entry& e = m_entries[j];
        const int rc = e.backup.empty() ? ::unlinkat(fd, e.name.c_str(), 0)
                                        : ::renameat(fd, e.backup.c_str(), fd, e.name.c_str());
        if (rc == 0 || errno == ENOENT)
            e.backup.clear();
        else
            restored = false;
    }
    if (restored && !m_folder->sync()) {
        removeHelpers();
        ::unlinkat(fd, m_record.c_str(), 0);
        m_record.clear();
        return;
    }
    m_leftForRecovery = true;
    m_message += output_messages::leftForRecovery(m_dir);
}

}  // namespace kellvor
