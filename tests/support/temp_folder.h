// A test's own folder, and the folder's contents as one comparable value.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "support/golden.h"

namespace kellvor::test {

// Every entry of a folder by name (hidden ones included): a file's bytes, "<folder>",
// "-> target" for a symbolic link, "<special>" for a pipe or device.
using FolderContents = std::map<std::string, std::string>;

inline FolderContents folderContents(const std::filesystem::path& dir) {
    FolderContents contents;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_symlink())
            contents[name] = "-> " + std::filesystem::read_symlink(entry.path()).string();
        else if (entry.is_directory())
            contents[name] = "<folder>";
        else if (entry.is_regular_file())
            contents[name] = readFileBytes(entry.path().string());
        else
            contents[name] = "<special>";
    }
    return contents;
}

// Names and sizes, for a readable failure message.
inline std::string describe(const FolderContents& contents) {
    std::string text;
    for (const auto& [name, bytes] : contents)
        text += name + " (" + std::to_string(bytes.size()) + " bytes)\n";
    return text;
}

inline void writeTextFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Writes every file of contents into dir.
inline void writeContents(const std::filesystem::path& dir, const FolderContents& contents) {
    for (const auto& [name, bytes] : contents)
        writeTextFile(dir / name, bytes);
}

// A fresh folder named after the running test and the process, removed at the end.
class TempFolder {
  public:
    TempFolder() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        static int made = 0;  // several folders in one test get names of their own
        m_dir =
            std::filesystem::temp_directory_path() /
            ("kellvor_" + name + "_" + std::to_string(::getpid()) + "_" + std::to_string(made++));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    const std::filesystem::path& path() const { return m_dir; }

  private:
    std::filesystem::path m_dir;
};

// Runs body in a child process and returns its exit status as waitpid gives it; body's return
// value is the child's exit code.
inline int inChildProcess(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = -1;
    if (child > 0)
        ::waitpid(child, &status, 0);
    return status;
}

// Runs body in a child process whose files may grow to fileBytes at most (a write that crosses
// the limit fails with EFBIG, as on a full disk; the limit holds for root too) and returns the
// text body gave back, or nothing when the child did not finish cleanly.
inline std::optional<std::string> textFromChildWithFileLimit(
    rlim_t fileBytes, const std::function<std::string()>& body) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{fileBytes, fileBytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string text = body();
        const ssize_t written = ::write(pipeFds[1], text.data(), text.size());
        ::_exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string text;
    char buf[512];
    for (ssize_t n; child > 0 && (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = -1;
    if (child > 0)
        ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

}  // namespace kellvor::test
