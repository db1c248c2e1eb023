// The command line's file command: its console lines, exit codes and messages.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "output/dxf_writer.h"
#include "output/free_space.h"
#include "output/trace_writer.h"
#include "support/golden.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

class CliFileCommand : public testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("kellvor_cli_files_" +
                 std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                 std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_dirText = m_dir.string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    int run(std::vector<std::string_view> args) {
        args.push_back("--output-dir");
        args.push_back(m_dirText);
        return runCli(args, m_out, m_err);
    }
    std::string file(const char* name) const {
        return test::readFileBytes((m_dir / name).string());
    }
    void seedEarlierRun() {
        for (const char* name : {"zahnradwerte.txt", "zahnrad.txt", "zahnrad.dxf"})
            std::ofstream(m_dir / name) << "earlier " << name << '\n';
    }
    void expectEarlierRunKept() {
        EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 3);
        for (const char* name : {"zahnradwerte.txt", "zahnrad.txt", "zahnrad.dxf"})
            EXPECT_EQ(file(name), std::string("earlier ") + name + "\n");
    }

    fs::path m_dir;
    std::string m_dirText;
    std::ostringstream m_out, m_err;
};

TEST_F(CliFileCommand, InitialValuesWriteAllThreeFiles) {
    seedEarlierRun();
    EXPECT_EQ(run({}), kExitSuccess);
    EXPECT_EQ(m_out.str(), "n: 22\nDXF-Datei wird geschrieben...\n");
    EXPECT_EQ(m_err.str(), "");
    EXPECT_EQ(file(kDrawingFileName), test::readFileBytes(test::goldenPath("dxf_initial.dxf")));
    EXPECT_EQ(file(kTraceFileName), test::readFileBytes(test::goldenPath("trace_initial.txt")));
    EXPECT_EQ(file("zahnradwerte.txt"),
              test::readFileBytes(test::goldenPath("zahnradwerte_initial.txt")));
}

// The largest gear with two points per tooth needs far more room than any disk offers; the
// command says so before it writes anything.
TEST_F(CliFileCommand, LargestGearFailsAtOnceForWantOfSpace) {
    const std::uint64_t needed = maxOutputBytes(0, 2147483647, 2);
    if (fs::space(m_dir).available >= needed)
        GTEST_SKIP() << "this disk has room for " << needed << " bytes";
    seedEarlierRun();
    EXPECT_EQ(run({"--z1", "2147483647", "--segments", "0"}), kExitFileError);
    EXPECT_EQ(m_out.str(), "n: 2\n");
    EXPECT_NE(m_err.str().find("Nicht genug Speicherplatz"), std::string::npos) << m_err.str();
    EXPECT_NE(m_err.str().find(" MB, frei "), std::string::npos) << m_err.str();
    expectEarlierRunKept();
}

TEST_F(CliFileCommand, RangeFailureNamesFieldAndExitsThree) {
    seedEarlierRun();
    EXPECT_EQ(run({"--x1", "0.7"}), kExitOutOfRange);
    EXPECT_NE(m_err.str().find("Die Eingegebenen Zahnradwerte sind nicht alle im gültigem Bereich"),
              std::string::npos);
    EXPECT_NE(m_err.str().find("Feld \"x1\": erlaubt ist -0.5 ≤ x1 ≤ 0.5"), std::string::npos)
        << m_err.str();
    expectEarlierRunKept();
}

TEST_F(CliFileCommand, PairWritesSevenFiles) {
    seedEarlierRun();
    EXPECT_EQ(run({"--pair", "--backlash", "0.2"}), kExitSuccess);
    EXPECT_EQ(m_out.str(), "n: 22\nDXF-Datei wird geschrieben...\n");
    EXPECT_EQ(m_err.str(), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 7);
    EXPECT_TRUE(file("eingriff.txt")
                    .starts_with("Achsabstand a=242.633\n"
                                 "Flankenspiel jn (vorgegeben)=0.2\n"));
    EXPECT_TRUE(file("eingriff.txt").ends_with("Eingriffsstoerung=keine\n"));
}

// What the command line does with the pair and the backlash, and what it says.
struct PairCase {
    const char* name;
    std::vector<std::string_view> args;
    int exitCode;
    const char* stderrPart;  // text standard error must hold ("" for nothing said)
    int files;               // files in the folder afterwards (the earlier three kept on failure)
};

void PrintTo(const PairCase& c, std::ostream* os) {
    *os << c.name;
}

class CliPair : public CliFileCommand, public testing::WithParamInterface<PairCase> {};

const PairCase kPairCases[] = {
    {"interferenceIsSaidButWritten",
     {"--pair", "--z1", "6", "--mn", "3", "--beta", "30", "--x1", "0.5", "--segments", "9"},
     kExitSuccess,
     "kellvor-cli: Eingriffsstörung: bei phi1 = 21.3333 Grad durchdringen sich die Zähne",
     7},
    {"backlashOutOfRange",
     {"--backlash", "4"},
     kExitOutOfRange,
     "Feld \"Flankenspiel jn\": erlaubt ist 0 ≤ jn < 4 mm (halber Normalmodul), eingegeben 4",
     3},
    {"pairWithoutWorkingAngle",
     {"--pair", "--z1", "4", "--z2", "4", "--x1", "-0.5", "--x2", "-0.5", "--beta", "0"},
     kExitOutOfRange,
     "keinen Betriebseingriffswinkel",
     3},
    {"backlashUnreadable", {"--backlash", "0,1"}, kExitUsage, "Ungültiger Wert für --backlash", 3},
    {"backlashWithoutPair", {"--backlash", "0.1"}, kExitSuccess, "", 3},
};

TEST_P(CliPair, ExitCodeMessageAndFiles) {
    const PairCase& c = GetParam();
    seedEarlierRun();
    EXPECT_EQ(run(c.args), c.exitCode) << m_err.str();
    if (std::string_view(c.stderrPart).empty())
        EXPECT_EQ(m_err.str(), "");
    else
        EXPECT_NE(m_err.str().find(c.stderrPart), std::string::npos) << m_err.str();
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), c.files);
    if (c.exitCode != kExitSuccess)
        expectEarlierRunKept();
}

INSTANTIATE_TEST_SUITE_P(Cases, CliPair, testing::ValuesIn(kPairCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(CliFileCommand, UnwritableFolderNamesFileAndReason) {
    const std::string notAFolder = (m_dir / "plain_file").string();
    std::ofstream(notAFolder) << "x";
    std::vector<std::string_view> args{"--output-dir", notAFolder};
    EXPECT_EQ(runCli(args, m_out, m_err), kExitFileError);
    EXPECT_EQ(m_err.str(), "kellvor-cli: Datei \"" + notAFolder +
                               "/zahnradwerte.txt\" kann nicht angelegt werden: Not a directory\n");
}

// --root generated, --svg and --verify: four files, the tooth's points with its fillets.
TEST_F(CliFileCommand, GeneratedRootSvgAndVerify) {
    seedEarlierRun();
    EXPECT_EQ(run({"--z1", "12", "--x1", "-0.5", "--segments", "10", "--root", "generated", "--svg",
                   "--verify"}),
              kExitSuccess)
        << m_err.str();
    // Only the findings follow on standard error, no complaint of the run.
    EXPECT_EQ(m_err.str().find("kellvor-cli:"), std::string::npos) << m_err.str();
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 4);
    EXPECT_EQ(file("zahnrad.svg").substr(0, 5), "<?xml");
    // The fillets have more elements than the involute to keep within 1e-4 mn of their curve.
    const int n = std::stoi(m_out.str().substr(3));
    EXPECT_GT(n, 2 * (10 + 10 + 1));
    EXPECT_EQ(file(kDrawingFileName)
                  .find("ARC\n  8\n0\n  6\nCONTINUOUS\n 62\n     7\n  5\n" +
                        std::to_string(27 + n - 1) + "\n 10\n0\n20\n0\n"),
              file(kDrawingFileName).find("ARC"));
    // The default root is the three-point arc, byte for byte.
    EXPECT_EQ(run({"--root", "arc"}), kExitSuccess);
    EXPECT_EQ(file(kDrawingFileName), test::readFileBytes(test::goldenPath("dxf_initial.dxf")));
}

TEST(CliOptions, RootSvgAndVerify) {
    const CliParseResult plain = parseCliOptions({});
    ASSERT_TRUE(plain.options);
    EXPECT_EQ(plain.options->root, RootForm::threePointArc);
    EXPECT_FALSE(plain.options->svg);
    EXPECT_FALSE(plain.options->verify);
    EXPECT_EQ(plain.options->dxfStyle, DxfStyle::minimal);
    const CliParseResult set =
        parseCliOptions({"--root=generated", "--svg", "--verify", "--dxf-style", "cam"});
    ASSERT_TRUE(set.options) << set.error;
    EXPECT_EQ(set.options->root, RootForm::generated);
    EXPECT_TRUE(set.options->svg);
    EXPECT_TRUE(set.options->verify);
    EXPECT_EQ(set.options->dxfStyle, DxfStyle::cam);
    EXPECT_EQ(parseCliOptions({"--root", "Bogen"}).error,
              "Ungültiger Wert für --root: \"Bogen\" (erlaubt: arc, generated)");
    EXPECT_EQ(parseCliOptions({"--dxf-style=R12"}).error,
              "Ungültiger Wert für --dxf-style: \"R12\" (erlaubt: minimal, cam)");
}

// --dxf-style cam with the pair and the SVG drawings: every file of the set, each gear's drawing
// one closed polyline on its layer of a document in millimetres, read back and checked.
TEST_F(CliFileCommand, CamStyleWithThePairAndSvg) {
    EXPECT_EQ(run({"--pair", "--svg", "--dxf-style", "cam", "--verify"}), kExitSuccess)
        << m_err.str();
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 10);
    const std::string drawing = file(kDrawingFileName);
    EXPECT_EQ(drawing.find("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n"), 0u);
    EXPECT_NE(drawing.find("$INSUNITS\n 70\n     4\n"), std::string::npos);
    EXPECT_NE(drawing.find("POLYLINE\n  5\n6\n  8\nZAHNRAD1\n"), std::string::npos);
    EXPECT_NE(file(kGear2DrawingFileName).find("  8\nZAHNRAD2\n"), std::string::npos);
    EXPECT_EQ(drawing.find("LINE\n"), drawing.find("POLYLINE\n") + 4);
    EXPECT_NE(file(kPairSvgFileName).find("<title>Zahnradpaar: z1 = 17,"), std::string::npos);
}

// A folder name with terminal control characters is echoed escaped in the error.
TEST_F(CliFileCommand, ControlCharactersInTheFolderAreEscaped) {
    const std::string hostile = (m_dir / "\x1b]0;owned\x07" / "sub").string();
    std::vector<std::string_view> args{"--output-dir", hostile};
    EXPECT_EQ(runCli(args, m_out, m_err), kExitFileError);
    EXPECT_EQ(m_err.str(), "kellvor-cli: Datei \"" + m_dir.string() +
                               "/\\x1b]0;owned\\x07/sub/zahnradwerte.txt\" kann nicht angelegt "
                               "werden: No such file or directory\n");
}

// --recover finishes or clears what a dead run left and says so; it writes nothing new.
TEST_F(CliFileCommand, RecoverAloneSaysWhatItDid) {
    seedEarlierRun();
    std::ofstream(m_dir / ".zahnrad.dxf.tmp-00000000000000ff") << "half a drawing";
    EXPECT_EQ(run({"--recover"}), kExitSuccess) << m_err.str();
    EXPECT_EQ(m_out.str(),
              "In \"" + m_dirText +
                  "\": Übrig gebliebene Hilfsdateien abgebrochener Läufe entfernt: 1.\n");
    expectEarlierRunKept();
    m_out.str("");
    EXPECT_EQ(run({"--recover", "--z1", "3"}), kExitSuccess) << m_err.str();
    EXPECT_EQ(m_out.str(), "In \"" + m_dirText + "\" gibt es nichts wiederherzustellen.\n");
    const std::string plainFile = (m_dir / "zahnrad.dxf").string();
    std::vector<std::string_view> args{"--recover", "--output-dir", plainFile};
    m_err.str("");
    EXPECT_EQ(runCli(args, m_out, m_err), kExitFileError);
    EXPECT_EQ(m_err.str(), "kellvor-cli: Ordner \"" + (m_dir / "zahnrad.dxf").string() +
                               "\" kann nicht geöffnet werden: Not a directory\n");
}

}  // namespace
}  // namespace kellvor
