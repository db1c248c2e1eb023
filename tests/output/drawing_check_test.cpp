#include "output/drawing_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "geometry/real_format.h"
#include "outline/contour_area.h"
#include "output/cam_drawing.h"
#include "output/dxf_reader.h"
#include "output/output_test_util.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

// A gear's outline in memory and its drawing as the writer makes it, as lines of text.
struct Gear {
    GearPairInput input;
    FlankProfile profile;
    RootArc arc;
    std::vector<std::string> lines;

    DrawingExpectation expectation() const {
        return {&profile, &arc, input.z1, input.mn, outlineArea(profile, arc, input.z1)};
    }
    // Index of the value line of group `code` in the entity with the given handle.
    std::size_t valueLine(std::int64_t handle, const std::string& code) const {
        std::size_t at = 0;
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            if (trim(lines[i]) == "5" && lines[i + 1] == std::to_string(handle))
                at = i;
        EXPECT_GT(at, 0u) << handle;
        for (std::size_t i = at; i + 1 < lines.size() && trim(lines[i]) != "0"; i += 2)
            if (trim(lines[i]) == trim(code))
                return i + 1;
        ADD_FAILURE() << "no group " << code << " in " << handle;
        return 0;
    }
    void set(std::int64_t handle, const std::string& code, double value) {
        std::string text;
        appendReal(text, value, 15);
        lines[valueLine(handle, code)] = text;
    }
    double get(std::int64_t handle, const std::string& code) const {
        return std::stod(lines[valueLine(handle, code)]);
    }
    void add(std::int64_t handle, const std::string& code, double delta) {
        set(handle, code, get(handle, code) + delta);
    }
    // Removes the whole entity with the given handle, walking the file pair by pair.
    void remove(std::int64_t handle) {
        std::size_t entity = 0;
        for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
            if (trim(lines[i]) == "0")
                entity = i;
            if (trim(lines[i]) == "5" && lines[i + 1] == std::to_string(handle)) {
                std::size_t end = i;
                while (trim(lines[end]) != "0")
                    end += 2;
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(entity),
                            lines.begin() + static_cast<std::ptrdiff_t>(end));
                return;
            }
        }
        ADD_FAILURE() << "no entity " << handle;
    }
    std::string text() const {
        std::string t;
        for (const std::string& l : lines)
            t += l + "\n";
        return t;
    }
    static std::string trim(const std::string& s) {
        const auto first = s.find_first_not_of(' ');
        return first == std::string::npos ? "" : s.substr(first);
    }
};

Gear makeGear(const GearPairInput& in, RootForm root) {
    Gear gear;
    gear.input = in;
    GearOutline outline = test::outlineWithRoot(in, root);
    gear.profile = std::move(outline.profile);
    gear.arc = outline.arc;
    StringSink sink;
    DxfOutlineWriter writer(sink);
    writer.open();
    walkGearOutline(gear.profile, gear.arc, in.z1,
                    [&](const OutlineTooth& t) { return writer.writeTooth(t); });
    writer.close();
    gear.lines = test::splitLines(sink.text());
    return gear;
}

// First handle of tooth k's entities.
std::int64_t toothHandle(const Gear& g, std::int64_t k) {
    return 27 + k * g.profile.count();
}

class DrawingCheck : public testing::Test {
  protected:
    void SetUp() override {
        m_file = fs::temp_directory_path() /
                 ("kellvor_drawing_check_" + std::to_string(::getpid()) + "_" +
                  testing::UnitTest::GetInstance()->current_test_info()->name() + ".dxf");
    }
    void TearDown() override { fs::remove(m_file); }

    std::optional<DrawingFinding> check(const Gear& gear, std::optional<double> area = {}) {
        std::ofstream(m_file, std::ios::binary) << gear.text();
        DrawingExpectation e = gear.expectation();
        if (area)
            e.area = *area;
        return checkWrittenDrawing(m_file, e);
    }
    fs::path m_file;
};

const GearPairInput kSpur{20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 4};
const GearPairInput kUndercut{12, 40, 2.0, 20.0, 25.0, -0.5, 0.0, 4};
const GearPairInput kSixTeeth{6, 40, 3.0, 20.0, 30.0, 0.5, 0.0, 9};

TEST_F(DrawingCheck, DrawingsAsWrittenPass) {
    const std::pair<GearPairInput, RootForm> gears[] = {
        {kSpur, RootForm::threePointArc},
        {kSpur, RootForm::generated},
        {kUndercut, RootForm::generated},
        {kSixTeeth, RootForm::threePointArc},
        {kSixTeeth, RootForm::generated},
        {GearPairInput{4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5}, RootForm::threePointArc},
        {GearPairInput{17, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 0}, RootForm::generated},
        {GearPairInput{3000, 40, 50.0, 45.0, 30.0, 0.5, 0.0, 2}, RootForm::generated},
    };
    for (const auto& [in, root] : gears) {
        const auto found = check(makeGear(in, root));
        EXPECT_FALSE(found) << in.z1 << " " << static_cast<int>(found->fault) << " "
                            << found->handle << " " << found->deviation << " " << found->detail;
    }
}

// Moves the end of line h and the start of line h + 1, the point they share, by d along the
// circle about the gear centre (about d cos(alpha) off an involute through it).
void moveSharedPoint(Gear& g, std::int64_t h, double d) {
    const double x = g.get(h, " 11"), y = g.get(h, " 21");
    const double r = std::hypot(x, y);
    for (const auto& [handle, cx, cy] : {std::tuple{h, " 11", " 21"}, {h + 1, " 10", "20"}}) {
        g.set(handle, cx, x - d * y / r);
        g.set(handle, cy, y + d * x / r);
    }
}

// A point moved by 1e-6 mn in both entities that share it: the contour stays closed, the point
// leaves the involute (or the fillet).
TEST_F(DrawingCheck, PointMovedOffTheInvoluteOrFillet) {
    for (const RootForm root : {RootForm::threePointArc, RootForm::generated}) {
        Gear g = makeGear(kUndercut, root);
        const double d = 1e-6 * g.input.mn;
        // Line 1 of tooth 3 ends at the tooth's third point: a fillet point of the generated
        // root, an involute point of the three-point arc's.
        const std::int64_t h = toothHandle(g, 3) + 1;
        moveSharedPoint(g, h, d);
        const auto found = check(g);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->fault, root == RootForm::generated ? DrawingFault::offFillet
                                                            : DrawingFault::offInvolute);
        EXPECT_EQ(found->handle, h);
        EXPECT_GT(found->deviation, 0.5 * d);
        EXPECT_LT(found->deviation, 1.01 * d);
    }
    // Far up the involute of the generated outline, on a gear of many teeth.
    Gear g = makeGear(kSpur, RootForm::generated);
    const std::int64_t h = toothHandle(g, 17) + g.profile.count() / 2 - 2;
    moveSharedPoint(g, h, 1e-6 * g.input.mn);
    const auto found = check(g);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->fault, DrawingFault::offInvolute);
    EXPECT_EQ(found->handle, h);
}

TEST_F(DrawingCheck, GapsAreFound) {
    for (const RootForm root : {RootForm::threePointArc, RootForm::generated}) {
        for (const GearPairInput& in : {kSpur, kSixTeeth}) {
            const Gear written = makeGear(in, root);
            const std::int64_t tooth = toothHandle(written, 2);
            const std::int64_t arc = tooth + written.profile.count() - 1;
            // The start of a line moved off the end of the one before, a line left out, an arc
            // left out; without the last arc one tooth is missing.
            Gear moved = written;
            moved.add(tooth + 4, " 10", 1e-6 * in.mn);
            Gear noLine = written;
            noLine.remove(tooth + 4);
            Gear noArc = written;
            noArc.remove(arc);
            for (const Gear* g : {&moved, &noLine, &noArc}) {
                const auto found = check(*g);
                ASSERT_TRUE(found);
                EXPECT_EQ(found->fault, DrawingFault::notClosed);
                EXPECT_GT(found->deviation, found->allowed);
            }
            Gear noLast = written;
            noLast.remove(toothHandle(written, in.z1) - 1);
            const auto found = check(noLast);
            ASSERT_TRUE(found);
            EXPECT_EQ(found->fault, DrawingFault::unreadable);
            EXPECT_NE(found->detail.find("Zähne gelesen"), std::string::npos);
        }
    }
}

// Two points of a flank swapped in both entities: every point still lies on the involute and
// the contour is closed, but it runs back over itself.
TEST_F(DrawingCheck, SwappedPointsCrossTheContour) {
    for (const GearPairInput& in : {kSpur, kSixTeeth}) {
        Gear g = makeGear(in, RootForm::threePointArc);
        // Lines h, h + 1, h + 2 run from point 1 to 2, 2 to 3 and 3 to 4; afterwards they run
        // 1 to 3, 3 to 2 and 2 to 4, and the first and the last cross.
        const std::int64_t h = toothHandle(g, 4) + 1;
        for (const auto& [start, end] : {std::pair{" 10", " 11"}, std::pair{"20", " 21"}}) {
            const double p2 = g.get(h, end), p3 = g.get(h + 1, end);
            g.set(h, end, p3);
            g.set(h + 1, start, p3);
            g.set(h + 1, end, p2);
            g.set(h + 2, start, p2);
        }
        const auto found = check(g);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->fault, DrawingFault::selfCrossing) << in.z1;
    }
}

// The root arc of a generated gap written the long way round still joins its neighbours, but
// sweeps over the other teeth.
TEST_F(DrawingCheck, ArcTheLongWayRoundLeavesItsPlace) {
    Gear g = makeGear(kSpur, RootForm::generated);
    const std::int64_t arc = toothHandle(g, 6) - 1;
    std::swap(g.lines[g.valueLine(arc, "50")], g.lines[g.valueLine(arc, "51")]);
    const auto found = check(g);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->fault, DrawingFault::outOfSector);
    EXPECT_EQ(found->handle, arc);
}

TEST_F(DrawingCheck, AreaAgainstTheOutlineInMemory) {
    const Gear g = makeGear(kSpur, RootForm::generated);
    const double area = g.expectation().area;
    EXPECT_FALSE(check(g, area * (1 + 1e-13)));
    const auto found = check(g, area * (1 + 1e-11));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->fault, DrawingFault::areaDiffers);
    EXPECT_NEAR(found->deviation, 1e-11, 1e-12);
}

// The CAM-ready drawing of a gear as lines of text, and its vertices' places in them.
struct CamGear {
    Gear gear;
    std::vector<std::string> lines;

    // Index of the line "VERTEX" of vertex i.
    std::size_t vertexLine(std::size_t i) const {
        std::size_t seen = 0;
        for (std::size_t l = 0; l < lines.size(); ++l)
            if (lines[l] == "VERTEX" && seen++ == i)
                return l;
        ADD_FAILURE() << "no vertex " << i;
        return 0;
    }
    // Index of the value line of group code (e.g. " 10") in the entity starting at line at.
    std::size_t valueLine(std::size_t at, const std::string& code) const {
        for (std::size_t l = at + 1; l + 1 < lines.size() && lines[l] != "  0"; l += 2)
            if (lines[l] == code)
                return l + 1;
        ADD_FAILURE() << "no group " << code;
        return 0;
    }
    std::string text() const {
        std::string t;
        for (const std::string& l : lines)
            t += l + "\n";
        return t;
    }
};

CamGear makeCamGear(const GearPairInput& in, RootForm root) {
    CamGear cam{makeGear(in, root), {}};
    const GearOutline outline{cam.gear.profile, cam.gear.arc, in.z1};
    StringSink sink;
    CamDrawingWriter writer(sink);
    writer.open(camGearSetup(outline, kGear1Layer));
    walkGearOutline(outline.profile, outline.arc, outline.z,
                    [&](const OutlineTooth& t) { return writer.writeTooth(t); });
    writer.close();
    cam.lines = test::splitLines(sink.text());
    return cam;
}

// The polyline of the CAM-ready drawing passes as written and fails with each fault injected:
// a vertex moved by 1e-6 mn along its circle, a vertex left out (a gap the neighbours bridge),
// the closing flag cleared, a bulge turned the other way, an entity after the SEQEND.
TEST_F(DrawingCheck, CamPolylineAsWrittenAndWithFaults) {
    const std::pair<GearPairInput, RootForm> gears[] = {
        {kSpur, RootForm::threePointArc},
        {kUndercut, RootForm::generated},
        {kSixTeeth, RootForm::threePointArc},
        {GearPairInput{4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5}, RootForm::generated},
        {GearPairInput{3000, 40, 50.0, 45.0, 30.0, 0.5, 0.0, 2}, RootForm::generated},
    };
    const auto checkCam = [&](const CamGear& c) {
        std::ofstream(m_file, std::ios::binary) << c.text();
        DrawingExpectation e = c.gear.expectation();
        e.style = DxfStyle::cam;
        return checkWrittenDrawing(m_file, e);
    };
    for (const auto& [in, root] : gears) {
        const CamGear written = makeCamGear(in, root);
        const auto passed = checkCam(written);
        EXPECT_FALSE(passed) << in.z1 << " " << static_cast<int>(passed->fault) << " "
                             << passed->detail;
        if (in.z1 > 100)
            continue;
        // The third vertex of tooth 2: a fillet point of the generated root, else an involute one.
        const std::size_t n = static_cast<std::size_t>(written.gear.profile.count());
        const std::size_t vertex = 2 * n + 2;
        CamGear moved = written;
        const std::size_t at = moved.vertexLine(vertex);
        const double x = std::stod(moved.lines[moved.valueLine(at, " 10")]);
        const double y = std::stod(moved.lines[moved.valueLine(at, " 20")]);
        const double d = 1e-6 * in.mn / std::hypot(x, y);
        std::string nx, ny;
        appendReal(nx, x - d * y, 15);
        appendReal(ny, y + d * x, 15);
        moved.lines[moved.valueLine(at, " 10")] = nx;
        moved.lines[moved.valueLine(at, " 20")] = ny;
        CamGear gap = written;
        const std::size_t gapAt = gap.vertexLine(vertex);
        gap.lines.erase(
            gap.lines.begin() + static_cast<std::ptrdiff_t>(gapAt - 1),
            gap.lines.begin() + static_cast<std::ptrdiff_t>(gap.vertexLine(vertex + 1) - 1));
        CamGear open = written;
        open.lines[open.valueLine(open.vertexLine(0) - 12, " 70")] = "     0";
        CamGear turned = written;
        // The root arc of tooth 2: the third bulge.
        std::size_t bulge = 0;
        for (int seen = 0; seen < 3; ++bulge)
            seen += turned.lines[bulge] == " 42";
        turned.lines[bulge] = turned.lines[bulge][0] == '-' ? turned.lines[bulge].substr(1)
                                                            : "-" + turned.lines[bulge];
        CamGear extra = written;
        extra.lines.insert(extra.lines.end() - 4, {"  0", "LINE", "  5", "FFFF", " 10", "0", " 20",
                                                   "0", " 11", "1", " 21", "1"});
        const std::pair<const CamGear*, std::vector<DrawingFault>> faults[] = {
            {&moved, {DrawingFault::offInvolute, DrawingFault::offFillet}},
            {&gap, {DrawingFault::areaDiffers, DrawingFault::offFillet, DrawingFault::offInvolute}},
            {&open, {DrawingFault::notClosed}},
            {&turned,
             {DrawingFault::outOfSector, DrawingFault::selfCrossing, DrawingFault::areaDiffers}},
            {&extra, {DrawingFault::unreadable}},
        };
        for (const auto& [faulty, allowed] : faults) {
            const auto found = checkCam(*faulty);
            ASSERT_TRUE(found) << in.z1 << " fault " << (faulty - &moved);
            EXPECT_TRUE(found->hexHandle);
            EXPECT_NE(std::find(allowed.begin(), allowed.end(), found->fault), allowed.end())
                << in.z1 << " " << static_cast<int>(found->fault);
        }
    }
}

TEST_F(DrawingCheck, UnreadableFiles) {
    const Gear g = makeGear(kSpur, RootForm::threePointArc);
    const auto checkText = [&](const std::string& text) {
        std::ofstream(m_file, std::ios::binary) << text;
        return checkWrittenDrawing(m_file, g.expectation());
    };
    const std::string whole = g.text();
    struct Case {
        std::string text;
        const char* reason;
    } cases[] = {
        {whole.substr(0, whole.rfind("0\nENDSEC")), "Datei endet ohne EOF"},
        {"  0\nSECTION\n  2\nENTITIES\n0\nCIRCLE\n 10\n1\n0\nENDSEC\n0\nEOF\n",
         "unerwartetes Element \"CIRCLE\""},
        {"  0\nSECTION\n  2\nENTITIES\n0\nLINE\n  5\n27\n 10\n1\n0\nENDSEC\n0\nEOF\n",
         "Element LINE unvollständig"},
        {"  0\nSECTION\n  2\nENTITIES\n0\nLINE\n  5\n27\n 10\n1,5\n", "Gruppencode 10"},
        {"  0\nSECTION\nx\n", "Zeile 3 der Zeichnung: kein Gruppencode"},
        {"  0\nSECTION\n  2\nENTITIES\n0\nENDSEC\n0\nEOF\n", "0 Zähne gelesen, 20 erwartet"},
    };
    for (const Case& c : cases) {
        const auto found = checkText(c.text);
        ASSERT_TRUE(found) << c.reason;
        EXPECT_EQ(found->fault, DrawingFault::unreadable);
        EXPECT_NE(found->detail.find(c.reason), std::string::npos) << found->detail;
    }
    const auto missing = checkWrittenDrawing(m_file.string() + ".missing", g.expectation());
    ASSERT_TRUE(missing);
    EXPECT_NE(missing->detail.find("kann nicht gelesen werden"), std::string::npos);
}

// The reader takes lines longer than its buffer's remainder and a file without a final line
// end, and hands out the entities in order.
TEST(DxfEntityReader, ReadsEntitiesAcrossItsBuffer) {
    const fs::path file =
        fs::temp_directory_path() / ("kellvor_dxf_reader_" + std::to_string(::getpid()) + ".dxf");
    std::string text = "  0\nSECTION\n  2\nENTITIES\n";
    for (int i = 0; i < 30000; ++i) {
        text += "0\nLINE\n  5\n" + std::to_string(27 + i) + "\n 10\n" + std::to_string(i) +
                ".25\n20\n-1e-300\n 11\n1\n 21\n2\n";
        text += "0\nARC\n  5\n" + std::to_string(i) + "\n 10\n0\n20\n0\n 40\n3\n50\n10\n51\n20\n";
    }
    text += "0\nENDSEC\n0\nEOF";
    std::ofstream(file, std::ios::binary) << text;
    DxfEntityReader reader(file);
    int lines = 0, arcs = 0;
    while (const auto e = reader.next()) {
        if (e->isArc()) {
            EXPECT_EQ(e->radius, 3);
            EXPECT_EQ(e->endAngle, 20);
            ++arcs;
        } else {
            EXPECT_EQ(e->handle, 27 + lines);
            EXPECT_EQ(e->start.x, lines + 0.25);
            EXPECT_EQ(e->start.y, -1e-300);
            ++lines;
        }
    }
    EXPECT_EQ(reader.error(), "");
    EXPECT_EQ(lines, 30000);
    EXPECT_EQ(arcs, 30000);
    fs::remove(file);
}

}  // namespace
}  // namespace kellvor
