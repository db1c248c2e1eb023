#include "output/output_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace kellvor {
namespace {

// Short enough that a freed lock is taken at once and a cancel is seen without delay.
constexpr auto kLockPoll = std::chrono::milliseconds(50);

std::error_code lastError() {
    return {errno, std::generic_category()};
}

}  // namespace

OutputFolder::OutputFolder(std::filesystem::path dir) : m_dir(std::move(dir)) {}

OutputFolder::~OutputFolder() {
    if (m_fd >= 0)
        ::close(m_fd);
}

LockStatus OutputFolder::lock(const LockWait& wait) {
    if (m_fd < 0) {
        const std::filesystem::path dir = m_dir.empty() ? std::filesystem::path(".") : m_dir;
        m_fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd < 0) {
            m_error = lastError();
            return LockStatus::failed;
        }
    }
    // The lock is polled rather than waited for in the kernel, so that the caller can show
    // that it waits and can stop waiting.
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
            return LockStatus::locked;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            m_error = lastError();
            return LockStatus::failed;
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        if (wait && !wait(waited))
            return LockStatus::gaveUp;
        std::this_thread::sleep_for(kLockPoll);
    }
}

std::error_code OutputFolder::sync() const {
    if (::fsync(m_fd) != 0)
        return lastError();
    return {};
}

}  // namespace kellvor
