#include "geometry/geometry_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "support/golden.h"

namespace kellvor {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// The line that starts with label, or "" when there is none.
std::string lineWith(const std::string& text, const std::string& label) {
    for (const auto& line : lines(text))
        if (line.rfind(label, 0) == 0)
            return line;
    return "";
}

std::string report(const GearPairInput& in) {
    return formatGeometryReport(in, computeGearPairGeometry(in));
}

TEST(FormatGeometryReport, InitialValuesMatchGoldenFile) {
    const std::string text = report(GearPairInput{});
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 64);
    test::expectMatchesGolden("zahnradwerte_initial.txt", text);
    const auto l = lines(text);
    ASSERT_EQ(l.size(), 64u);
    EXPECT_EQ(l[0], "Uebersetzung u=2.35294");
    EXPECT_EQ(l[1], "");
    // Without a shift sum the pair runs at its reference centre distance: no tip alteration.
    EXPECT_EQ(lineWith(text, "Kopfhoehen"), "Kopfhoehenaenderungsfaktor k=0");
    EXPECT_EQ(l[62], "Grundkreis>Nutzbarer Evolventendurchmesser");
    EXPECT_EQ(l[63], "128.134");
}

TEST(FormatGeometryReport, LargeGearHasBaseCircleInsideUsableDiameter) {
    const auto l = lines(report(GearPairInput{100, 40, 2, 20, 0, 0, 0, 10}));
    EXPECT_EQ(l[62], "Grundkreis<=Nutzbarer Evolventendurchmesser");
    EXPECT_EQ(l[63], "195.8");
}

TEST(FormatGeometryReport, ToothCountsUseTheRealFormat) {
    const std::string text = report(GearPairInput{1000000, 40, 2, 20, 0, 0, 0, 10});
    EXPECT_EQ(lineWith(text, "Zaehnezahl z1="), "Zaehnezahl z1=1e+06");
}

TEST(FormatGeometryReport, ShiftSumAtSixDigits) {
    const std::string text = report(GearPairInput{20, 40, 2, 20, 10, 0.2, 0.1, 10});
    EXPECT_EQ(lineWith(text, "Profilv"), "Profilverschiebungsfaktoren x1+x2=0.3");
}

TEST(FormatGeometryReport, NotANumberRowsAreWrittenAndReportStaysComplete) {
    const std::string text = report(GearPairInput{4, 4, 2, 20, 0, -0.5, -0.5, 10});
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 64);
    const std::string a = lineWith(text, "Achsabstand a=");
    EXPECT_TRUE(a == "Achsabstand a=nan" || a == "Achsabstand a=-nan") << a;
}

}  // namespace
}  // namespace kellvor
