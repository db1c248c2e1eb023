// --sweep on the command line: the CSV rows against single evaluations and single runs, --only-ok,
// range rows, and the usage and file errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_driver.h"
#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "geometry/constants.h"
#include "output/output_test_util.h"
#include "output/sweep_csv.h"
#include "output/sweep_csv_util.h"
#include "support/golden.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

class CliSweep : public test::CliDriver {};

const std::vector<std::string> kShiftGrid = {"--sweep", "x1=-0.5:0.5:0.01", "--sweep",
                                             "x2=-0.5:0.5:0.01"};

std::vector<std::string> with(std::vector<std::string> args, std::vector<std::string> more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// The 10,201 rows of a shift grid are the single evaluations of their exact inputs (from + i step,
// not the decimal the step suggests), every real reading back to the same bits.
TEST_F(CliSweep, RowsAreTheSingleEvaluationsOfTheirInputs) {
    std::ofstream("sweep.csv") << "earlier\n";
    ASSERT_EQ(run(with(kShiftGrid, {"--csv", "sweep.csv"})), kExitSuccess) << m_err.str();
    EXPECT_EQ(m_out.str(),
              "10201 Rasterpunkte berechnet, 10201 Zeilen in \"sweep.csv\" geschrieben\n");
    const std::vector<std::string> lines = test::splitLines(test::readFileBytes("sweep.csv"));
    ASSERT_EQ(lines.size(), 10202u);
    EXPECT_EQ(lines[0] + "\n", kSweepCsvHeader);
    EXPECT_EQ(test::splitFields(lines[1 + 80 * 101])[5], "0.30000000000000004");
    for (int k = 0; k < 10201; ++k) {
        const auto f = test::splitFields(lines[static_cast<std::size_t>(k) + 1]);
        ASSERT_EQ(f.size(), 22u) << k;
        GearPairInput in;
        in.x1 = -0.5 + static_cast<double>(k / 101) * 0.01;
        in.x2 = -0.5 + static_cast<double>(k % 101) * 0.01;
        const GearPairGeometry g = computeGearPairGeometry(in);
        const Assessment a = assessGearPair(in, g);
        const auto expected = test::expectedSweepValues(in, g, a);
        for (std::size_t c = 0; c < 21; ++c)
            ASSERT_TRUE(test::sameDouble(test::readBack(f[c]), expected[c]))
                << "row " << k << " column " << c << ": " << f[c];
        ASSERT_EQ(f[21], test::findingsColumn(a)) << k;
    }
}

// A single run with the row's inputs as typed from the CSV gives the row's geometry and codes.
TEST_F(CliSweep, RowsAreSingleRunsOfTheirText) {
    ASSERT_EQ(run(with(kShiftGrid, {"--csv", "-"})), kExitSuccess) << m_err.str();
    const std::vector<std::string> lines = test::splitLines(m_out.str());
    ASSERT_EQ(lines.size(), 10202u);
    const char* keys[] = {"a",   "alpha_wt_deg", "epsilon_alpha", "epsilon_beta",
                          "da1", "da2",          "df1",           "df2"};
    int withCodes = 0;
    for (std::size_t k = 1; k < lines.size(); k += 7) {
        const auto f = test::splitFields(lines[k]);
        ASSERT_EQ(run({"--x1", f[5], "--x2", f[6], "--json", "-"}), kExitSuccess) << lines[k];
        const nlohmann::json j = nlohmann::json::parse(m_out.str());
        EXPECT_EQ(j["input"]["x1"].get<double>(), test::readBack(f[5]));
        for (std::size_t c = 0; c < 8; ++c) {
            const nlohmann::json& v = j["geometry"][keys[c]]["value"];
            const double single = v.is_null() ? std::nan("") : v.get<double>();
            EXPECT_TRUE(test::sameDouble(single, test::readBack(f[8 + c]))) << keys[c] << lines[k];
        }
        std::string codes;
        for (const auto& finding : j["findings"]) {
            if (finding["level"] == "Hinweis")
                continue;
            if (!codes.empty())
                codes += ';';
            codes += finding["code"].get<std::string>();
            if (!finding["gear"].is_null())
                codes += std::to_string(finding["gear"].get<int>());
        }
        EXPECT_EQ(codes, f[21]) << lines[k];
        withCodes += codes.empty() ? 0 : 1;
    }
    EXPECT_GT(withCodes, 100);
}

TEST_F(CliSweep, OnlyOkAndRangeRows) {
    ASSERT_EQ(run(with(kShiftGrid, {"--csv", "all.csv"})), kExitSuccess);
    ASSERT_EQ(run(with(kShiftGrid, {"--csv", "ok.csv", "--only-ok"})), kExitSuccess);
    const std::vector<std::string> all = test::splitLines(test::readFileBytes("all.csv"));
    std::string kept = all[0] + "\n";
    std::size_t okRows = 0;
    for (std::size_t k = 1; k < all.size(); ++k) {
        if (all[k].back() == ',') {
            kept += all[k] + "\n";
            ++okRows;
        }
    }
    EXPECT_TRUE(test::readFileBytes("ok.csv") == kept);
    EXPECT_GT(okRows, 1000u);
    EXPECT_LT(okRows, 9000u);
    // z1 = 2 and 3 fail the range test: their inputs, no values, the code range.
    ASSERT_EQ(run({"--sweep", "z1=2:5:1", "--mn", "2.5", "--csv", "-"}), kExitSuccess);
    const std::vector<std::string> rows = test::splitLines(m_out.str());
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1], "2,40,2.5,45,20,0,0,10,,,,,,,,,,,,,,range");
    EXPECT_EQ(rows[2], "3,40,2.5,45,20,0,0,10,,,,,,,,,,,,,,range");
    EXPECT_EQ(test::splitFields(rows[3])[0], "4");
    EXPECT_NE(test::splitFields(rows[3])[8], "");
    ASSERT_EQ(run({"--sweep", "z1=2:5:1", "--csv", "-", "--only-ok"}), kExitSuccess);
    EXPECT_EQ(m_out.str().find("range"), std::string::npos);
}

// Usage errors exit 2 with a message naming the option, and write nothing.
TEST_F(CliSweep, UsageErrorsNameTheOption) {
    struct Row {
        std::vector<std::string> args;
        const char* message;
    };
    const Row rows[] = {
        {{"--sweep", "x1=0.5:-0.5:0.1", "--csv", "s.csv"},
         "Option --sweep x1=0.5:-0.5:0.1: der Bereich ist leer"},
        {{"--sweep", "x1=0:0.5:0", "--csv", "s.csv"},
         "Option --sweep x1=0:0.5:0: die Schrittweite muss größer als 0 sein"},
        {{"--sweep", "b=1:2:-1", "--csv", "s.csv"}, "die Schrittweite muss größer als 0 sein"},
        {{"--sweep", "x1=0:1:1e-5", "--sweep", "b=1:10000:1", "--csv", "s.csv"},
         "Option --sweep: das Raster hätte mehr als 1000000000 Punkte"},
        {{"--sweep", "b=0:1:1e-10", "--csv", "s.csv"}, "mehr als 1000000000 Punkte"},
        {{"--sweep", "x1=0:0.5:0.1"}, "Option --sweep braucht --csv FILE"},
        {{"--csv", "s.csv"}, "Option --csv braucht --sweep"},
        {{"--only-ok"}, "Option --only-ok braucht --sweep"},
        {{"--sweep", "x1=0:0.5:0.1", "--csv", "s.csv", "--centre-distance", "250"},
         "--sweep und --centre-distance lassen sich nicht zusammen angeben"},
        {{"--sweep", "x1=0:0.5:0.1", "--csv", "s.csv", "--check"},
         "--sweep und --check lassen sich nicht zusammen angeben"},
        {{"--sweep", "x1=0:0.5:0.1", "--sweep", "x1=0:0.2:0.1", "--csv", "s.csv"},
         "Option --sweep: x1 wird zweimal variiert"},
        {{"--sweep", "z1=10:20:2.5", "--csv", "s.csv"},
         "Ungültiger Wert für --sweep: \"z1=10:20:2.5\""},
        {{"--sweep", "teeth=1:2:1", "--csv", "s.csv"}, "Ungültiger Wert für --sweep"},
        {{"--sweep", "x1=0:0.5", "--csv", "s.csv"}, "Ungültiger Wert für --sweep"},
        {{"--sweep", "x1=0:0.5:0.1:1", "--csv", "s.csv"}, "Ungültiger Wert für --sweep"},
        {{"--sweep", "mn=1:nan:1", "--csv", "s.csv"}, "Ungültiger Wert für --sweep"},
        {{"--sweep", "--csv", "s.csv"}, "Option --sweep braucht einen Wert"},
    };
    for (const Row& r : rows) {
        // Refused by the parser: a grid accepted by mistake is never run here.
        ASSERT_FALSE(parseCliOptions({r.args.begin(), r.args.end()}).options) << r.message;
        EXPECT_EQ(run(r.args), kExitUsage) << r.message;
        EXPECT_NE(m_err.str().find(r.message), std::string::npos) << m_err.str();
        EXPECT_EQ(m_out.str(), "");
    }
    EXPECT_TRUE(fs::is_empty(m_dir));
}

TEST_F(CliSweep, FileErrorNamesTheFileAndKeepsNoTrace) {
    EXPECT_EQ(run(with(kShiftGrid, {"--csv", "missing/s.csv"})), kExitFileError);
    EXPECT_NE(m_err.str().find("Datei \"missing/s.csv\" kann nicht angelegt werden: "),
              std::string::npos)
        << m_err.str();
    EXPECT_TRUE(fs::is_empty(m_dir));
}

// The disk filling up half way through the rows, as a file-size limit makes the kernel report it
// (in a child process, to keep the limit away from the test program): exit code 1 naming the
// file and the reason, the earlier file unchanged, no temporary file left.
TEST_F(CliSweep, FileFullHalfWayKeepsTheEarlierFile) {
    std::ofstream("sweep.csv") << "earlier\n";
    const auto report = test::textFromChildWithFileLimit(200000, [&] {
        const int code = run(with(kShiftGrid, {"--csv", "sweep.csv"}));
        return std::to_string(code) + "\n" + m_err.str();
    });
    ASSERT_TRUE(report);
    EXPECT_EQ(
        *report,
        "1\nkellvor-cli: Datei \"./sweep.csv\" kann nicht geschrieben werden: File too large\n");
    EXPECT_EQ(test::readFileBytes("sweep.csv"), "earlier\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace kellvor
