// Runs kellvor-cli's whole command line in a fresh folder that is also the working directory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_run.h"
#include "support/temp_folder.h"

namespace kellvor::test {

// A test fixture: its own folder as the working directory, and the last run's output.
class CliDriver : public testing::Test {
  protected:
    void SetUp() override {
        m_folder.emplace();
        m_dir = m_folder->path();
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_dir);
    }
    void TearDown() override {
        std::filesystem::current_path(m_previous);
        m_folder.reset();
    }
    // Runs the command line with args (the program name left out); its output in m_out, m_err.
    int run(const std::vector<std::string_view>& args) {
        m_out.str("");
        m_err.str("");
        return runCli(args, m_out, m_err);
    }
    int run(const std::vector<std::string>& args) {
        return run(std::vector<std::string_view>(args.begin(), args.end()));
    }
    int run(std::initializer_list<std::string_view> args) {
        return run(std::vector<std::string_view>(args));
    }
    bool folderEmpty() const { return std::filesystem::is_empty(m_dir); }

    std::optional<TempFolder> m_folder;
    std::filesystem::path m_dir;
    std::filesystem::path m_previous;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

}  // namespace kellvor::test
