#include "output/replacement_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "output/output_messages.h"

namespace kellvor {
namespace {

// How often a new temporary name is tried when one is taken already.
constexpr int kNameAttempts = 100;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

}  // namespace

ReplacementFiles::ReplacementFiles(std::filesystem::path dir) : m_dir(std::move(dir)) {}

ReplacementFiles::~ReplacementFiles() {
    for (Entry& e : m_entries) {
        e.sink.reset();
        if (!e.temp.empty())
            ::unlink(e.temp.c_str());
        if (!e.backup.empty())
            ::unlink(e.backup.c_str());
    }
}

std::filesystem::path ReplacementFiles::uniqueName(const std::string& name, const char* kind) {
    // Hidden names beside the final file, so that the rename stays inside one file system.
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%s-%ld-%u", kind, static_cast<long>(::getpid()),
                  m_counter++);
    return m_dir / ("." + name + suffix);
}

void ReplacementFiles::fail(const std::string& name, std::error_code ec, std::string_view action) {
    if (m_message.empty())
        m_message = output_messages::fileError(m_dir / name, action, ec);
}

std::filesystem::path ReplacementFiles::temporaryPath(const std::string& name) const {
    for (const Entry& e : m_entries)
        if (e.name == name)
            return e.temp;
    return {};
}

FileSink* ReplacementFiles::create(const std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::filesystem::path temp = uniqueName(name, "tmp");
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            Entry& e = m_entries.emplace_back();
            e.name = name;
            e.temp = std::move(temp);
            e.sink = std::make_unique<FileSink>(fd);
            return e.sink.get();
        }
        if (errno != EEXIST)
            break;
    }
    fail(name, lastError(), output_messages::kCannotCreate);
    return nullptr;
}

void ReplacementFiles::makeBackups() {
    for (Entry& e : m_entries) {
        const std::filesystem::path target = m_dir / e.name;
        struct stat st;
        e.existed = ::lstat(target.c_str(), &st) == 0;
        if (!e.existed || S_ISDIR(st.st_mode))
            continue;
        // A second name for the earlier file costs no copy. Where hard links are not
        // supported the file simply has no way back, which matters only if a later rename
        // fails.
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            std::filesystem::path backup = uniqueName(e.name, "old");
            if (::link(target.c_str(), backup.c_str()) == 0) {
                e.backup = std::move(backup);
                break;
            }
            if (errno != EEXIST)
                break;
        }
    }
}

void ReplacementFiles::putBack(std::size_t replaced) {
    for (std::size_t j = 0; j < replaced; ++j) {
        Entry& e = m_entries[j];
        const std::filesystem::path target = m_dir / e.name;
        if (!e.backup.empty()) {
            if (::rename(e.backup.c_str(), target.c_str()) == 0)
                e.backup.clear();
        } else if (!e.existed) {
            ::unlink(target.c_str());
        } else {
            m_message += output_messages::notRestored(target);
        }
    }
}

bool ReplacementFiles::commit() {
    if (!m_message.empty())
        return false;
    for (Entry& e : m_entries) {
        if (!e.sink->close()) {
            fail(e.name, e.sink->error(), output_messages::kCannotWrite);
            return false;
        }
    }
    makeBackups();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        Entry& e = m_entries[i];
        const std::filesystem::path target = m_dir / e.name;
        if (::rename(e.temp.c_str(), target.c_str()) != 0) {
            fail(e.name, lastError(), output_messages::kCannotReplace);
            putBack(i);
            return false;
        }
        e.temp.clear();
    }
    for (Entry& e : m_entries) {
        if (!e.backup.empty())
            ::unlink(e.backup.c_str());
        e.backup.clear();
    }
    return true;
}

}  // namespace kellvor
