#include "output/file_sink.h"

#include <unistd.h>

#include <cerrno>

namespace kellvor {

FileSink::~FileSink() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileSink::write(const char* data, std::size_t size) {
    if (m_error)
        return false;
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_error = std::error_code(errno, std::generic_category());
            return false;
        }
        // A short write happens when a limit is reached part way; the next call reports why.
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool FileSink::sync() {
    if (m_error || m_fd < 0)
        return !m_error;
    // Delayed allocation reports a full disk only here, and the data must be on the disk
    // before a rename makes the file visible under its name.
    while (::fsync(m_fd) != 0) {
        if (errno != EINTR) {
            m_error = std::error_code(errno, std::generic_category());
            return false;
        }
    }
    return true;
}

bool FileSink::close() {
    if (m_fd < 0)
        return !m_error;
    // Some file systems report a failed write only when the file is closed.
    const int rc = ::close(m_fd);
    m_fd = -1;
    if (rc != 0 && !m_error)
        m_error = std::error_code(errno, std::generic_category());
    return !m_error;
}

}  // namespace kellvor
