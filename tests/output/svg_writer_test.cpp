#include "output/svg_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/real_format.h"
#include "outline/root_arc.h"
#include "output/output_test_util.h"

namespace kellvor {
namespace {

using SvgCase = test::RootCase;

// A gear with either root, its walked teeth and its SVG drawing.
struct Drawn {
    FlankProfile profile;
    RootArc arc;
    std::vector<OutlineTooth> teeth;
    std::string svg;
};

Drawn draw(const SvgCase& c, std::string_view title = "Zahnrad") {
    Drawn d;
    GearOutline outline = test::outlineWithRoot(c.input, c.root);
    d.profile = std::move(outline.profile);
    d.arc = outline.arc;
    StringSink sink;
    SvgOutlineWriter writer(sink);
    writer.open(gearSvgBox(d.profile), title);
    writer.beginPath("zahnrad1");
    walkGearOutline(d.profile, d.arc, c.input.z1, [&](const OutlineTooth& t) {
        d.teeth.push_back(t);
        return writer.writeTooth(t);
    });
    writer.endPath();
    EXPECT_TRUE(writer.close());
    d.svg = sink.text();
    return d;
}

// The value of attribute name in text (the first one).
std::string attribute(const std::string& text, const std::string& name) {
    const std::size_t at = text.find(" " + name + "=\"");
    if (at == std::string::npos)
        return {};
    const std::size_t from = at + name.size() + 3;
    return text.substr(from, text.find('"', from) - from);
}

// One command of the path data with its numbers.
struct PathCommand {
    char letter;
    std::vector<double> numbers;
};

// The path data split into commands; a command letter may carry several coordinate pairs.
std::vector<PathCommand> parsePath(const std::string& d) {
    std::vector<PathCommand> out;
    std::istringstream in(d);
    std::string token;
    while (in >> token) {
        if (token.size() == 1 && std::isalpha(static_cast<unsigned char>(token[0])))
            out.push_back({token[0], {}});
        else
            out.back().numbers.push_back(std::strtod(token.c_str(), nullptr));
    }
    return out;
}

// The centre of the SVG arc from a to b with radius r and its two flags, by the endpoint to
// centre conversion of the SVG 1.1 implementation notes (F.6.5), for a circle.
Point2 arcCentre(Point2 a, Point2 b, double r, bool large, bool sweep) {
    const double x1 = (a.x - b.x) / 2, y1 = (a.y - b.y) / 2;
    const double sign = large != sweep ? 1.0 : -1.0;
    const double d2 = x1 * x1 + y1 * y1;
    const double coef = sign * std::sqrt(std::max(0.0, (r * r - d2) / d2));
    return {coef * y1 + (a.x + b.x) / 2, -coef * x1 + (a.y + b.y) / 2};
}

class SvgDrawing : public ::testing::TestWithParam<SvgCase> {};

TEST_P(SvgDrawing, SizeInMillimetresAndViewBoxFlipped) {
    const Drawn d = draw(GetParam());
    const SvgBox box = gearSvgBox(d.profile);
    EXPECT_EQ(box.minX, -box.maxX);
    EXPECT_GT(box.maxX, d.profile.tipRadius);
    EXPECT_LT(box.maxX, 1.03 * d.profile.tipRadius);
    std::string size;
    appendReal(size, box.maxX - box.minX, 15);
    EXPECT_EQ(attribute(d.svg, "width"), size + "mm");
    EXPECT_EQ(attribute(d.svg, "height"), size + "mm");
    std::string view;
    appendReal(view, box.minX, 15);
    view += " ";
    appendReal(view, 0.0 - box.maxY, 15);
    EXPECT_EQ(attribute(d.svg, "viewBox"), view + " " + size + " " + size);
    EXPECT_EQ(d.svg.rfind("</svg>\n"), d.svg.size() - 7);
}

// One closed path: M, the teeth's lines, one arc per gap whose flags put its centre where the
// walk's arc has it (y flipped), and Z back at the first point.
TEST_P(SvgDrawing, OneClosedPathWithTrueArcs) {
    const Drawn d = draw(GetParam());
    EXPECT_EQ(attribute(d.svg, "id"), "zahnrad1");
    EXPECT_EQ(attribute(d.svg, "fill"), "none");
    const std::vector<PathCommand> path = parsePath(attribute(d.svg, "d"));
    ASSERT_GE(path.size(), 3u);
    ASSERT_EQ(path.front().letter, 'M');
    ASSERT_EQ(path.back().letter, 'Z');
    const Point2 first{path.front().numbers[0], path.front().numbers[1]};
    const Point2 expectedFirst = d.teeth.front().polyline.front();
    EXPECT_NEAR(first.x, expectedFirst.x, 1e-13 * d.profile.tipRadius);
    EXPECT_NEAR(first.y, -expectedFirst.y, 1e-13 * d.profile.tipRadius);

    Point2 at = first;
    std::size_t arcs = 0;
    double worstCentre = 0;
    for (const PathCommand& c : path) {
        if (c.letter == 'A') {
            ASSERT_EQ(c.numbers.size(), 7u);
            const OutlineTooth& t = d.teeth[arcs++];
            EXPECT_EQ(c.numbers[0], c.numbers[1]);
            EXPECT_EQ(c.numbers[2], 0);
            const Point2 end{c.numbers[5], c.numbers[6]};
            const Point2 centre =
                arcCentre(at, end, c.numbers[0], c.numbers[3] != 0, c.numbers[4] != 0);
            worstCentre =
                std::max(worstCentre, std::hypot(centre.x - t.arcCentreX, centre.y + t.arcCentreY));
            at = end;
        } else if (c.letter != 'Z') {
            ASSERT_EQ(c.numbers.size() % 2, 0u);
            at = {c.numbers[c.numbers.size() - 2], c.numbers.back()};
        }
    }
    EXPECT_EQ(arcs, static_cast<std::size_t>(GetParam().input.z1));
    EXPECT_LT(worstCentre, 1e-9 * GetParam().input.mn);
    // The last arc ends at the first point.
    EXPECT_EQ(at.x, first.x);
    EXPECT_EQ(at.y, first.y);
}

TEST_P(SvgDrawing, EstimateHoldsTheDrawing) {
    const Drawn d = draw(GetParam(), "Zahnrad");
    EXPECT_LE(d.svg.size(), maxSvgBytes(GetParam().input.z1, d.profile.count(), 7));
}

const SvgCase kSvgCases[] = {
    {"spur_three_point_arc", GearPairInput{20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 4},
     RootForm::threePointArc},
    {"outward_arc_larger_than_half", GearPairInput{8, 40, 1.0, 20.0, 30.0, 0.5, 0.0, 8},
     RootForm::threePointArc},
    {"pointed", GearPairInput{4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5}, RootForm::threePointArc},
    {"generated_helical", GearPairInput{17, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 10},
     RootForm::generated},
    {"generated_undercut", GearPairInput{8, 40, 1.0, 20.0, 0.0, 0.0, 0.0, 3}, RootForm::generated},
};

INSTANTIATE_TEST_SUITE_P(Gears, SvgDrawing, testing::ValuesIn(kSvgCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SvgOutlineWriter, TitleIsEscaped) {
    const Drawn d = draw(kSvgCases[0], "a<b & c>d");
    EXPECT_NE(d.svg.find("<title>a&lt;b &amp; c&gt;d</title>"), std::string::npos);
}

TEST(SvgOutlineWriter, FailingSinkIsReported) {
    test::FailingSink sink(100);
    SvgOutlineWriter writer(sink);
    writer.open(SvgBox{-1, -1, 1, 1}, std::string(2u << 20, 'x'));
    EXPECT_FALSE(writer.close());
}

}  // namespace
}  // namespace kellvor
