// --centre-distance on the command line: the shifts printed and used by every command, and the
// errors that name their cause.
#include <gtest/gtest.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_driver.h"
#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "geometry/centre_distance.h"
#include "geometry/constants.h"
#include "geometry/real_format.h"
#include "support/golden.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

class CliCentreDistance : public test::CliDriver {};

// x1 and x2 from "Profilverschiebung für den Achsabstand a = A mm: x1 = X, x2 = Y".
bool readShifts(const std::string& line, double& x1, double& x2) {
    const auto p1 = line.find("x1 = "), p2 = line.find(", x2 = ");
    if (p1 == std::string::npos || p2 == std::string::npos)
        return false;
    const char* end = line.data() + line.find_first_of('\n', p2);
    return std::from_chars(line.data() + p1 + 5, line.data() + p2, x1).ptr == line.data() + p2 &&
           std::from_chars(line.data() + p2 + 7, end, x2).ptr == end;
}

// Over a table of pairs and centre distances the printed shifts are those of the JSON report,
// which has a = A; an entered shift is kept, otherwise both slidings are equal.
TEST_F(CliCentreDistance, ShiftsArePrintedAndUsed) {
    struct Row {
        std::vector<std::string> pair;
        double a;
        std::vector<std::string> given;
    };
    const Row rows[] = {
        {{"--z1", "20", "--z2", "40", "--mn", "2", "--beta", "0"}, 60.5, {}},
        {{}, 245, {}},
        {{}, 245, {"--x1", "0.125"}},
        {{}, 241, {"--x2", "-0.375"}},
        {{"--z1", "30", "--z2", "31", "--mn", "3", "--beta", "15"}, 94, {}},
        {{"--z1", "25", "--z2", "50", "--mn", "2.5", "--beta", "5"}, 93.5, {"--x2", "0.1"}},
        {{"--z1", "9", "--z2", "200", "--mn", "0.5", "--beta", "30"}, 60.6, {"--x1", "0.5"}},
    };
    for (const Row& r : rows) {
        std::vector<std::string> args = r.pair;
        args.insert(args.end(), r.given.begin(), r.given.end());
        std::string a;
        appendShortestReal(a, r.a);
        args.insert(args.end(), {"--centre-distance", a, "--json", "p.json"});
        ASSERT_EQ(run(args), kExitSuccess) << a << m_err.str();
        const std::string line = m_out.str();
        EXPECT_EQ(line.rfind("Profilverschiebung für den Achsabstand a = " + a + " mm: ", 0), 0u)
            << line;
        double x1 = 0, x2 = 0;
        ASSERT_TRUE(readShifts(line, x1, x2)) << line;
        const nlohmann::json j = nlohmann::json::parse(test::readFileBytes("p.json"));
        EXPECT_EQ(j["input"]["x1"].get<double>(), x1);
        EXPECT_EQ(j["input"]["x2"].get<double>(), x2);
        EXPECT_NEAR(j["geometry"]["a"]["value"].get<double>(), r.a, 1e-12 * r.a) << line;
        if (!r.given.empty()) {
            EXPECT_EQ(r.given[0] == "--x1" ? x1 : x2, std::stod(r.given[1])) << line;
        }
        GearPairInput in;
        in.z1 = j["input"]["z1"].get<std::int32_t>();
        in.z2 = j["input"]["z2"].get<std::int32_t>();
        in.mn = j["input"]["mn"].get<double>();
        in.beta = j["input"]["beta"].get<double>();
        in.x1 = x1;
        in.x2 = x2;
        const SpecificSliding s = specificSliding(in);
        if (r.given.empty()) {
            EXPECT_NEAR(s.zeta1, s.zeta2, 1e-9) << line;
        } else {
            EXPECT_GT(std::fabs(s.zeta1 - s.zeta2), 1e-6) << line;
        }
    }
}

// The file command, the preview, --check and --json - all take the shifts as if entered.
TEST_F(CliCentreDistance, EveryCommandUsesTheShifts) {
    const std::string line =
        "Profilverschiebung für den Achsabstand a = 245 mm: x1 = 0.3434423687929804, "
        "x2 = -0.03817313518681148\n";
    ASSERT_EQ(run({"--centre-distance", "245"}), kExitSuccess) << m_err.str();
    EXPECT_EQ(m_out.str().rfind(line, 0), 0u) << m_out.str();
    EXPECT_NE(test::readFileBytes("zahnradwerte.txt").find("\nAchsabstand a=245\n"),
              std::string::npos);
    const std::string files = test::readFileBytes("zahnrad.dxf");
    ASSERT_EQ(run({"--x1", "0.3434423687929804", "--x2", "-0.03817313518681148"}), kExitSuccess);
    EXPECT_TRUE(test::readFileBytes("zahnrad.dxf") == files);
    ASSERT_EQ(run({"--centre-distance", "245", "--preview", "p.png"}), kExitSuccess);
    EXPECT_EQ(m_out.str().rfind(line, 0), 0u);
    EXPECT_TRUE(fs::exists("p.png"));
    ASSERT_EQ(run({"--centre-distance", "245", "--check"}), kExitSuccess);
    EXPECT_EQ(m_out.str().rfind(line + "Befunde: keine\n", 0), 0u) << m_out.str();
    // With the JSON on standard output the line goes to standard error.
    ASSERT_EQ(run({"--centre-distance", "245", "--json", "-"}), kExitSuccess);
    EXPECT_EQ(m_err.str(), line);
    EXPECT_EQ(nlohmann::json::parse(m_out.str())["input"]["x1"].get<double>(), 0.3434423687929804);
}

// Each cause exits 3 with its message, usage errors exit 2; nothing is written.
TEST_F(CliCentreDistance, ErrorsNameTheCause) {
    // ad cos(alphat) of the initial values, from the tooth counts, module and helix angle.
    const double alphat = std::atan(std::tan(20 * kDegToRad) / std::cos(20 * kDegToRad));
    std::string touching;
    appendReal(touching, 57 * 8 / (2 * std::cos(20 * kDegToRad)) * std::cos(alphat), 10);
    // x1 + x2 - 0.5 for z1 = 14, z2 = 60, mn = 1.5, beta = 10 at a = 57 (independent script).
    std::string lowest;
    appendReal(lowest, 0.446501761369975 - 0.5, 10);
    // The spur pair 20/40, mn = 2 at a = 62: inv(alphawt) - inv(alphat) = 2 tan(alphan) xsum / 60.
    const auto inv = [](double alpha) { return std::tan(alpha) - alpha; };
    const double xsum = (inv(std::acos(60 * std::cos(20 * kDegToRad) / 62)) - inv(20 * kDegToRad)) *
                        60 / (2 * std::tan(20 * kDegToRad));
    std::string x2;
    appendReal(x2, xsum - 0.2, 10);
    struct Row {
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    const Row rows[] = {
        {{"--centre-distance", "200"},
         kExitOutOfRange,
         "Option --centre-distance: zum Achsabstand a = 200 mm gibt es keinen "
         "Betriebseingriffswinkel; a muss größer sein als ad·cos αt = " +
             touching + " mm\n"},
        {{"--centre-distance", "-3", "--x1", "0.1"}, kExitOutOfRange, "= " + touching + " mm\n"},
        {{"--z1", "20", "--z2", "40", "--mn", "2", "--beta", "0", "--x1", "0.2",
          "--centre-distance", "62"},
         kExitOutOfRange,
         "gehört x2 = " + x2 + " für Zahnrad 2; erlaubt ist -0.5 ≤ x2 ≤ 0.5\n"},
        {{"--z1", "20", "--z2", "40", "--mn", "2", "--beta", "0", "--x2", "-0.45",
          "--centre-distance", "62"},
         kExitOutOfRange,
         " für Zahnrad 1; erlaubt ist -0.5 ≤ x1 ≤ 0.5\n"},
        {{"--z1", "20", "--z2", "40", "--mn", "2", "--beta", "0", "--centre-distance", "64"},
         kExitOutOfRange,
         " für Zahnrad 2; erlaubt ist -0.5 ≤ x2 ≤ 0.5\n"},
        {{"--z1", "14", "--z2", "60", "--mn", "1.5", "--beta", "10", "--centre-distance", "57"},
         kExitOutOfRange,
         "gleicht kein x1 zwischen " + lowest + " und 0.5 das spezifische Gleiten"},
        {{"--z1", "3", "--centre-distance", "245"}, kExitOutOfRange, "Feld \"z1\": erlaubt ist"},
        {{"--centre-distance", "245", "--x1", "0.1", "--x2", "0.1"},
         kExitUsage,
         "Mit --centre-distance lässt sich nur eine der Optionen --x1 und --x2 angeben"},
        {{"--centre-distance", "abc"}, kExitUsage, "Ungültiger Wert für --centre-distance"},
        {{"--centre-distance"}, kExitUsage, "Option --centre-distance braucht einen Wert"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(run(r.args), r.code) << r.message;
        EXPECT_NE(m_err.str().find(r.message), std::string::npos) << m_err.str();
        EXPECT_EQ(m_out.str(), "");
    }
    EXPECT_TRUE(fs::is_empty(m_dir));
}

}  // namespace
}  // namespace kellvor
