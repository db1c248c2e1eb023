// A ByteSink on an open file descriptor: plain write calls, every failure kept with its reason.
#pragma once

#include <system_error>

#include "output/byte_sink.h"

namespace kellvor {

// Writes straight to a file descriptor it owns; short writes are continued, EINTR retried.
class FileSink final : public ByteSink {
  public:
    // Takes ownership of the open descriptor fd.
    explicit FileSink(int fd) : m_fd(fd) {}
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;
    // Closes the descriptor if close() was not called.
    ~FileSink() override;

    bool write(const char* data, std::size_t size) override;
    std::error_code error() const override { return m_error; }
    // Writes the file's data to the disk (fsync); false when that (or any write before) failed.
    bool sync();
    // Closes the file; false when closing (or any write before) failed.
    bool close();

  private:
    int m_fd;
    std::error_code m_error;
};

}  // namespace kellvor
