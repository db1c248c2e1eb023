#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/cli_driver.h"
#include "cli/cli_options.h"
#include "cli/cli_progress.h"
#include "cli/cli_run.h"
#include "support/golden.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

// A fresh empty folder that is also the working directory while the test runs.
class CliFolder : public test::CliDriver {};

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
    EXPECT_NE(m_err.str().find("Feld \"x1\": erlaubt ist -0.5 ≤ x1 ≤ 0.5"), std::string::npos)
        << m_err.str();
    EXPECT_EQ(test::readFileBytes("zahnradwerte.txt"), "earlier report\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

// Usage errors exit 2 with one German line that names the option (or the argument) and why;
// echoed input never carries a control character to the terminal.
TEST_F(CliFolder, UsageErrorsExitTwoAndNameTheOption) {
    struct Case {
        std::vector<std::string_view> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--z1", "abc"}, "Ungültiger Wert für --z1: \"abc\""},
        {{"--z1", "17.5"}, "Ungültiger Wert für --z1: \"17.5\""},
        {{"--z1", "2147483648"}, "Ungültiger Wert für --z1: \"2147483648\""},
        {{"--z2", "-2147483649"}, "Ungültiger Wert für --z2: \"-2147483649\""},
        {{"--mn", "nan"}, "Ungültiger Wert für --mn: \"nan\""},
        {{"--b", "inf"}, "Ungültiger Wert für --b: \"inf\""},
        {{"--beta", "1e999"}, "Ungültiger Wert für --beta: \"1e999\""},
        {{"--x1", "0,5"}, "Ungültiger Wert für --x1: \"0,5\""},
        {{"--preview-size", "0x10"}, "Ungültiger Wert für --preview-size: \"0x10\""},
        {{"--segments", ""}, "Option --segments braucht einen Wert"},
        {{"--x2"}, "Option --x2 braucht einen Wert"},
        {{"--x2", "--z1", "5"}, "Option --x2 braucht einen Wert"},
        {{"--unknown", "1"}, "Unbekannte Option --unknown"},
        {{"--bogus=7"}, "Unbekannte Option --bogus"},
        {{"stray"}, "Unerwartetes Argument \"stray\""},
        {{"--mn", "\x1b[2J8"}, "Ungültiger Wert für --mn: \"\\x1b[2J8\""},
        {{"--\x1b]0;x\x07"}, "Unbekannte Option --\\x1b]0;x\\x07"},
        {{"--bogus"}, "Unbekannte Option --bogus"},
        {{"--bogus", "--z1", "5"}, "Unbekannte Option --bogus"},
        {{"--preview-size", "\x1b[31m9x9"}, "Ungültiger Wert für --preview-size: \"\\x1b[31m9x9\""},
        {{"--z2",
          "\xc2\x9b"
          "2J"},
         "Ungültiger Wert für --z2: \"\\xc2\\x9b2J\""},
        {{"--recover", "--preview", "p.png"},
         "--recover und --preview lassen sich nicht zusammen angeben"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args), kExitUsage) << c.message;
        EXPECT_EQ(m_err.str(),
                  "kellvor-cli: " + std::string(c.message) + "\n(--help zeigt die Optionen)\n");
    }
    EXPECT_TRUE(fs::is_empty(m_dir));
}

TEST_F(CliFolder, RepeatedOptionTakesTheLastValue) {
    ASSERT_EQ(run({"--z1", "30", "--z1=20", "--mn", "2", "--beta", "0", "--segments", "4"}),
              kExitSuccess)
        << m_err.str();
    EXPECT_EQ(m_out.str(), "n: 10\nDXF-Datei wird geschrieben...\n");
    EXPECT_NE(test::readFileBytes("zahnradwerte.txt").find("Zaehnezahl z1=20\n"),
              std::string::npos);
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
    EXPECT_NE(m_out.str().find("Zähnezahl Zahnrad 1"), std::string::npos);
    EXPECT_EQ(run({"--version"}), kExitSuccess);
    EXPECT_EQ(m_out.str(), "kellvor-cli 1.3\n");
    EXPECT_TRUE(fs::is_empty(m_dir));
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
    EXPECT_EQ(text.substr(0, 24), "\rZähne: 1024 / 3000 (34");
    EXPECT_NE(text.find("\rZähne: 3000 / 3000 (100 %)\n"), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\n');
}

// Calls that count no step (0 of 0) while the run waits for another run's folder: the waiting
// line comes once, after the delay, and only where there is a text for it.
TEST(TerminalProgress, AnnouncesALongWaitOnce) {
    std::ostringstream out;
    const ProgressCallback now = makeTerminalProgress(out, std::chrono::milliseconds(0), "warte");
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE(now(0, 0));
    EXPECT_EQ(out.str(), "warte\n");
    std::ostringstream quiet;
    const ProgressCallback later = makeTerminalProgress(quiet, std::chrono::hours(1), "warte");
    const ProgressCallback textless = makeTerminalProgress(quiet, std::chrono::milliseconds(0));
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE(later(0, 0) && textless(0, 0));
    EXPECT_EQ(quiet.str(), "");
}

}  // namespace
}  // namespace kellvor
