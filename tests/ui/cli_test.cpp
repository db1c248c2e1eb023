#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "support/golden.h"
#include "ui/cli_options.h"
#include "ui/cli_progress.h"
#include "ui/cli_run.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

// A fresh empty folder that is also the working directory while the test runs.
class CliFolder : public testing::Test {
  protected:
    void SetUp() override {
        m_previous = fs::current_path();
        m_dir = fs::temp_directory_path() /
                ("kellvor_cli_" +
                 std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        fs::current_path(m_dir);
    }
    void TearDown() override {
        fs::current_path(m_previous);
        fs::remove_all(m_dir);
    }
    int run(std::vector<std::string_view> args) {
        m_out.str("");
        m_err.str("");
        return runCli(args, m_out, m_err);
    }
    fs::path m_previous;
    fs::path m_dir;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(CliFolder, NoArgumentsWritesTheReportOfTheInitialValues) {
    ASSERT_EQ(run({}), kExitSuccess) << m_err.str();
    EXPECT_EQ(test::readFileBytes("zahnradwerte.txt"),
              test::readFileBytes(test::goldenPath("zahnradwerte_initial.txt")));
}

TEST_F(CliFolder, OutOfRangeExitsThreeAndKeepsTheEarlierReport) {
    std::ofstream("zahnradwerte.txt", std::ios::binary) << "earlier report\n";
    EXPECT_EQ(run({"--x1", "0.7"}), kExitOutOfRange);
    EXPECT_NE(m_err.str().find("Die Eingegebenen Zahnradwerte sind nicht alle im gültigem Bereich"),
              std::string::npos);
    EXPECT_NE(m_err.str().find("-0.5 <= x1 <= 0.5"), std::string::npos) << m_err.str();
    EXPECT_EQ(test::readFileBytes("zahnradwerte.txt"), "earlier report\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(CliFolder, UsageErrorsExitTwoAndNameTheOption) {
    const std::vector<std::vector<std::string_view>> bad = {
        {"--z1", "abc"},         {"--z1", "17.5"}, {"--z1", "2147483648"},
        {"--z2", "-2147483649"}, {"--mn", "nan"},  {"--b", "inf"},
        {"--beta", "1e999"},     {"--x1", "0.1x"}, {"--segments", ""},
        {"--unknown", "1"},      {"--x2"},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(run(args), kExitUsage) << args[0];
        EXPECT_NE(m_err.str().find(std::string(args[0])), std::string::npos) << m_err.str();
    }
    EXPECT_TRUE(fs::is_empty(m_dir));
}

TEST_F(CliFolder, OutputDirOptionAndEqualsForm) {
    fs::create_directory("out");
    ASSERT_EQ(run({"--output-dir=out", "--z1=20", "--mn", "2"}), kExitSuccess) << m_err.str();
    EXPECT_TRUE(fs::exists("out/zahnradwerte.txt"));
    EXPECT_FALSE(fs::exists("zahnradwerte.txt"));
}

TEST_F(CliFolder, HelpAndVersion) {
    EXPECT_EQ(run({"--help"}), kExitSuccess);
    EXPECT_NE(m_out.str().find("--segments"), std::string::npos);
    EXPECT_EQ(run({"--version"}), kExitSuccess);
    EXPECT_EQ(m_out.str(), "kellvor-cli 1.3\n");
    EXPECT_TRUE(fs::is_empty(m_dir));
}

TEST(ParseStrict, AcceptsWholeNumbersInTheCLocale) {
    EXPECT_EQ(parseStrictInt("2147483647"), 2147483647);
    EXPECT_EQ(parseStrictInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(parseStrictInt("+17"), 17);
    EXPECT_FALSE(parseStrictInt(" 17"));
    EXPECT_FALSE(parseStrictInt("0x11"));
    EXPECT_EQ(parseStrictReal("1e-25"), 1e-25);
    EXPECT_EQ(parseStrictReal("-0.5"), -0.5);
    EXPECT_EQ(parseStrictReal(".5"), 0.5);
    EXPECT_FALSE(parseStrictReal("0,5"));
    EXPECT_FALSE(parseStrictReal("-inf"));
    EXPECT_FALSE(parseStrictReal("+-1"));
}

TEST(TerminalProgress, SilentBeforeTheDelay) {
    std::ostringstream out;
    const ProgressCallback progress = makeTerminalProgress(out, std::chrono::hours(1));
    for (std::int64_t k = 1; k <= 5000; ++k)
        EXPECT_TRUE(progress(k, 5000));
    EXPECT_EQ(out.str(), "");
}

TEST(TerminalProgress, CountsTeethAndEndsTheLine) {
    std::ostringstream out;
    const ProgressCallback progress = makeTerminalProgress(out, std::chrono::milliseconds(0));
    for (std::int64_t k = 1; k <= 3000; ++k)
        EXPECT_TRUE(progress(k, 3000));
    const std::string text = out.str();
    EXPECT_EQ(text.substr(0, 24), "\rZaehne: 1024 / 3000 (34");
    EXPECT_NE(text.find("\rZaehne: 3000 / 3000 (100 %)\n"), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\n');
}

}  // namespace
}  // namespace kellvor
