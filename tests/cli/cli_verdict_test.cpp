// The command line's verdict: --check, --json, --ball and the findings after every run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_driver.h"
#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "geometry/assessment.h"
#include "geometry/assessment_text.h"
#include "geometry/input_fields.h"
#include "geometry/real_format.h"
#include "output/json_report.h"
#include "support/golden.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

class CliVerdict : public test::CliDriver {};

// The eight values as options, reals with all their digits.
std::vector<std::string> options(const GearPairInput& in) {
    std::vector<std::string> args;
    for (const InputFieldEntry& entry : inputFields()) {
        args.push_back("--" + std::string(entry.option));
        std::string value;
        appendReal(value, fieldValue(in, entry.field), 17);
        args.push_back(value);
    }
    return args;
}

std::vector<std::string> with(std::vector<std::string> args, std::vector<std::string> more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// Over random pairs --check exits 4 exactly when the assessment holds a Fehler, prints the
// listing on standard output only and writes no file.
TEST_F(CliVerdict, CheckExitsFourExactlyWhenAFindingIsAnError) {
    std::uint64_t state = 4;
    auto uniform = [&state](double lo, double hi) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return lo + (hi - lo) * static_cast<double>(state >> 11) * 0x1.0p-53;
    };
    int errors = 0;
    for (int i = 0; i < 400; ++i) {
        const GearPairInput in{static_cast<std::int32_t>(uniform(4, 40)),
                               static_cast<std::int32_t>(uniform(4, 200)),
                               uniform(0.5, 50),
                               uniform(1, 100),
                               uniform(0, 30),
                               uniform(-0.5, 0.5),
                               uniform(-0.5, 0.5),
                               10};
        const Assessment a = assessGearPair(in);
        const int code = run(with(options(in), {"--check"}));
        ASSERT_EQ(code, a.hasError() ? kExitFindingError : kExitSuccess) << i;
        EXPECT_EQ(m_err.str(), "") << i;
        EXPECT_EQ(m_out.str().rfind("Befunde:", 0), 0u) << i;
        for (const Finding& f : a.list())
            EXPECT_NE(m_out.str().find("  " + findingLine(f) + "\n"), std::string::npos) << i;
        errors += a.hasError() ? 1 : 0;
    }
    EXPECT_GT(errors, 40);
    EXPECT_LT(errors, 360);
    EXPECT_TRUE(folderEmpty());
}

TEST_F(CliVerdict, CheckTable) {
    struct Row {
        std::vector<std::string> args;
        int code;
        const char* part;  // in standard output (or error output for exit 2 and 3)
    };
    const Row rows[] = {
        {{"--check"}, kExitSuccess, "Befunde: keine\nPrüfmaße (Messkugel DM = 13.44 mm):\n"},
        {{"--check", "--z1", "17", "--beta", "0", "--mn", "1"},
         kExitSuccess,
         "  Warnung: Zahnrad 1 wird beim Verzahnen unterschnitten: x1 = 0 liegt unter x_min = "
         "0.005657"},
        {{"--check", "--z1", "5", "--z2", "6", "--x1", "-0.5", "--x2", "-0.5"},
         kExitFindingError,
         "  Fehler: Die Zahnräder kämmen nicht"},
        {{"--check", "--z1", "4", "--z2", "30", "--mn", "1", "--beta", "0", "--x1", "0.3"},
         kExitFindingError,
         "  Fehler: Zahnrad 1 wird spitz"},
        {{"--check", "--ball", "2", "--mn", "1"}, kExitSuccess, "DM = 2 mm"},
        {{"--check", "--x1", "0.7"}, kExitOutOfRange, "Feld \"x1\": erlaubt ist"},
        {{"--check", "--ball", "abc"}, kExitUsage, "Ungültiger Wert für --ball: \"abc\""},
        {{"--check", "--ball"}, kExitUsage, "Option --ball braucht einen Wert"},
        {{"--check", "--json", "-"},
         kExitUsage,
         "--check und --json - schreiben beide auf die Standardausgabe"},
        {{"--preview", "p.png", "--check"},
         kExitUsage,
         "--preview und --check lassen sich nicht zusammen angeben"},
        {{"--json", "x.json", "--preview", "p.png"},
         kExitUsage,
         "--preview und --json lassen sich nicht zusammen angeben"},
    };
    for (const Row& r : rows) {
        const int code = run(r.args);
        EXPECT_EQ(code, r.code) << r.part;
        const std::string& where =
            code == kExitUsage || code == kExitOutOfRange ? m_err.str() : m_out.str();
        EXPECT_NE(where.find(r.part), std::string::npos) << where;
        EXPECT_TRUE(folderEmpty()) << r.part;
    }
}

// A ball that touches neither gear's drawn involute is refused with both ranges; one that fits
// only one gear leaves the other's Md out.
TEST_F(CliVerdict, BallOutsideItsRange) {
    for (const char* ball : {"0", "-1", "40"}) {
        EXPECT_EQ(run({"--check", "--mn", "2", "--ball", ball}), kExitOutOfRange) << ball;
        EXPECT_NE(m_err.str().find("Option --ball: eine Messkugel mit DM = "), std::string::npos);
        EXPECT_NE(m_err.str().find(" für Zahnrad 1 oder "), std::string::npos) << m_err.str();
        EXPECT_EQ(m_out.str(), "");
    }
    // The file command refuses it as well, before writing anything.
    EXPECT_EQ(run({"--ball", "0.01"}), kExitOutOfRange);
    EXPECT_TRUE(folderEmpty());

    const GearPairInput in{9, 200, 1, 10, 0, 0.5, -0.5, 10};
    const BallRange one = ballRange(in, computeGearPairGeometry(in));
    const BallRange two = ballRange(swappedInput(in), computeGearPairGeometry(swappedInput(in)));
    // An end of one range that the other range does not hold.
    double fitsOne = 0;
    for (const double d : {one.min, one.max, two.min, two.max})
        if (one.contains(d) != two.contains(d))
            fitsOne = d;
    ASSERT_GT(fitsOne, 0);
    std::string ball;
    appendReal(ball, fitsOne, 17);
    ASSERT_EQ(run(with(options(in), {"--check", "--ball", ball})), kExitSuccess) << m_err.str();
    EXPECT_NE(m_out.str().find("  Zahnrad 2: sn = "), std::string::npos);
    EXPECT_NE(m_out.str().find("Md = keine Angabe"), std::string::npos) << m_out.str();
}

// --json writes the report to its file (or standard output) instead of the three files; the
// findings go to standard error.
TEST_F(CliVerdict, JsonToFileAndStandardOutput) {
    const std::vector<std::string> pair = {"--z1",   "6",  "--z2", "9",    "--mn", "1",
                                           "--beta", "25", "--x1", "0.45", "--x2", "-0.3"};
    ASSERT_EQ(run(with(pair, {"--json", "out.json"})), kExitSuccess) << m_err.str();
    EXPECT_EQ(m_out.str(), "");
    EXPECT_NE(m_err.str().find("Fehler: Eingriffsstörung an Zahnrad 2"), std::string::npos);
    const std::string file = test::readFileBytes("out.json");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
    ASSERT_EQ(run(with(pair, {"--json", "-"})), kExitSuccess);
    EXPECT_EQ(m_out.str(), file);
    const nlohmann::json doc = nlohmann::json::parse(file);
    EXPECT_EQ(doc["input"]["x1"], 0.45);
    EXPECT_EQ(doc["inspection"]["DM"], 1.68);
    EXPECT_EQ(doc["findings"].size(), 5u);

    ASSERT_EQ(run(with(pair, {"--json", "out.json", "--ball", "1.5"})), kExitSuccess);
    EXPECT_EQ(nlohmann::json::parse(test::readFileBytes("out.json"))["inspection"]["DM"], 1.5);

    // With --check the file is written and the exit code is the check's.
    ASSERT_EQ(run(with(pair, {"--json", "both.json", "--check"})), kExitFindingError);
    EXPECT_TRUE(fs::exists("both.json"));
    EXPECT_EQ(m_err.str(), "");

    fs::create_directory("folder");
    EXPECT_EQ(run({"--json", "folder"}), kExitFileError);
    EXPECT_NE(m_err.str().find("kellvor-cli: Datei"), std::string::npos) << m_err.str();
    EXPECT_EQ(run({"--json", "missing/out.json"}), kExitFileError);
    EXPECT_FALSE(fs::exists("missing"));
}

// With the pair the JSON carries the mesh check of the drawn outlines (as eingriff.txt has it),
// and the backlash thins the inspection dimensions: W_k of both gears shrinks by jn / 2.
TEST_F(CliVerdict, JsonCarriesTheMeshCheckAndTheBacklash) {
    ASSERT_EQ(run({"--json", "-"}), kExitSuccess);
    const nlohmann::json plain = nlohmann::json::parse(m_out.str());
    EXPECT_TRUE(plain["mesh"].is_null());
    ASSERT_EQ(run({"--json", "-", "--pair", "--backlash", "0.1"}), kExitSuccess) << m_err.str();
    const nlohmann::json pair = nlohmann::json::parse(m_out.str());
    ASSERT_TRUE(pair["mesh"].is_object());
    EXPECT_EQ(pair["mesh"]["jn"], 0.1);
    EXPECT_TRUE(pair["mesh"]["interference_phi1"].is_null());
    for (const char* key : {"Wk1", "Wk2"})
        EXPECT_NEAR(plain["inspection"][key].get<double>() - pair["inspection"][key].get<double>(),
                    0.05, 1e-12)
            << key;
    // The same numbers as the mesh report of the file command.
    ASSERT_EQ(run({"--pair", "--backlash", "0.1"}), kExitSuccess) << m_err.str();
    const std::string report = test::readFileBytes("eingriff.txt");
    std::string jtMin = "Verdrehflankenspiel jt min=";
    appendReal(jtMin, pair["mesh"]["jt_min"].get<double>(), 6);
    EXPECT_NE(report.find(jtMin + "\n"), std::string::npos) << report;
    EXPECT_EQ(run({"--json", "-", "--backlash", "4"}), kExitOutOfRange);
}

// After a run that writes the three files (or the picture) the findings follow on standard
// error, and the exit code stays that of the run.
TEST_F(CliVerdict, FindingsOnStandardErrorAfterEveryRun) {
    const std::vector<std::string> pair = {"--z1",   "8", "--z2", "60",  "--mn", "1",
                                           "--beta", "0", "--x1", "0.5", "--x2", "-0.5"};
    ASSERT_EQ(run(pair), kExitSuccess) << m_err.str();
    EXPECT_TRUE(fs::exists(kJsonFileName) == false && fs::exists("zahnrad.dxf"));
    const Assessment a = assessGearPair({8, 60, 1, 45, 0, 0.5, -0.5, 10});
    std::string expected;
    for (const Finding& f : a.list())
        expected += findingLine(f) + "\n";
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(m_err.str(), expected);
    ASSERT_EQ(run(with(pair, {"--preview", "p.png"})), kExitSuccess);
    EXPECT_EQ(m_err.str(), expected);
    // Values out of range have no findings.
    EXPECT_EQ(run({"--x1", "0.7"}), kExitOutOfRange);
    EXPECT_EQ(m_err.str().find("Warnung:"), std::string::npos);
}

TEST_F(CliVerdict, HelpNamesTheOptionsAndExitCodeFour) {
    ASSERT_EQ(run({"--help"}), kExitSuccess);
    for (const char* part : {"--check", "--json FILE", "--ball D", "4 mit --check"})
        EXPECT_NE(m_out.str().find(part), std::string::npos) << part;
}

}  // namespace
}  // namespace kellvor
