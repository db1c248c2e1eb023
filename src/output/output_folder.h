// An output folder opened once and held under its lock while Kellvor writes or recovers in it.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <system_error>

namespace kellvor {

// Called about every 50 ms while another run holds the folder's lock, with the time waited so
// far; returning false gives up waiting.
using LockWait = std::function<bool(std::chrono::milliseconds waited)>;

// How taking the folder's lock ended.
enum class LockStatus {
    locked,  // the folder is open and this object holds its lock
    failed,  // the folder could not be opened or locked (see error())
    gaveUp,  // the wait callback said stop
};

// The folder as a descriptor, so that every step works on the same folder whatever happens to
// its path, with an advisory lock (flock on the folder itself: nothing is left behind, and the
// kernel drops it when the process dies).
class OutputFolder {
  public:
    // The folder at dir; nothing is opened yet.
    explicit OutputFolder(std::filesystem::path dir);
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;
    // Closes the folder, which drops the lock.
    ~OutputFolder();

    // Opens the folder and takes its lock, waiting while another run holds it; wait may be
    // empty (then it waits until the lock is free).
    LockStatus lock(const LockWait& wait);
    // The open folder (valid after lock() said locked).
    int fd() const { return m_fd; }
    // The folder's path as given, for messages.
    const std::filesystem::path& path() const { return m_dir; }
    // Why lock() failed.
    std::error_code error() const { return m_error; }
    // Writes the folder's entries to the disk (fsync); the reason when that fails.
    std::error_code sync() const;

  private:
    std::filesystem::path m_dir;
    int m_fd = -1;
    std::error_code m_error;
};

}  // namespace kellvor
