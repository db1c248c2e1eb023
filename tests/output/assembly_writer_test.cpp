#include "output/assembly_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "outline/pair_test_util.h"
#include "output/dxf_test_util.h"
#include "output/dxf_writer.h"
#include "output/mesh_report.h"

namespace kellvor {
namespace {

struct AssemblyCase {
    const char* name;
    GearPairInput input;
};

void PrintTo(const AssemblyCase& c, std::ostream* os) {
    *os << c.name;
}

// The assembly of a pair and the drawings of its two gears alone, written into memory.
struct Written {
    GearPairGeometry geometry;
    AssemblyDrawing drawing;
    std::string assembly;
    test::ParsedDxf parsed;
    test::ParsedDxf gear1;
    test::ParsedDxf gear2;
};

std::string drawingOf(const GearOutline& outline) {
    StringSink sink;
    DxfOutlineWriter writer(sink);
    writer.open();
    walkGearOutline(outline.profile, outline.arc, outline.z,
                    [&](const OutlineTooth& tooth) { return writer.writeTooth(tooth); });
    writer.close();
    return sink.text();
}

class AssemblyWriter : public testing::TestWithParam<AssemblyCase> {
  protected:
    void SetUp() override {
        const GearPairInput& in = GetParam().input;
        w.geometry = computeGearPairGeometry(in);
        const GearOutline g1 = test::gearOutline(in);
        const GearOutline g2 = test::gearOutline(swappedInput(in));
        w.drawing = assemblyDrawing(w.geometry, in.mn, g1, g2);
        StringSink sink;
        DxfDocumentWriter doc(sink);
        ASSERT_TRUE(writeAssembly(doc, w.drawing));
        w.assembly = sink.text();
        w.parsed = test::parseDxf(w.assembly);
        w.gear1 = test::parseDxf(drawingOf(g1));
        w.gear2 = test::parseDxf(drawingOf(g2));
    }
    std::vector<test::DxfEntityTags> onLayer(const char* layer) const {
        std::vector<test::DxfEntityTags> out;
        for (const auto& e : w.parsed.entities)
            if (e.value(8) == layer)
                out.push_back(e);
        return out;
    }
    Written w;
};

// ezdxf's auditor misses both: every handle is unique and below the seed, and every entity's
// layer is in the layer table.
TEST_P(AssemblyWriter, HandlesUniqueAndLayersDefined) {
    ASSERT_TRUE(w.parsed.wellFormed);
    EXPECT_EQ(w.parsed.layers, (std::vector<std::string>{"0", "ZAHNRAD1", "ZAHNRAD2", "TEILKREISE",
                                                         "ACHSEN", "EINGRIFFSLINIE"}));
    const std::uint64_t seed = std::stoull(w.parsed.header.at("$HANDSEED")[0].second, nullptr, 16);
    std::set<std::uint64_t> seen;
    for (const std::string& h : w.parsed.handles) {
        const std::uint64_t v = std::stoull(h, nullptr, 16);
        EXPECT_TRUE(seen.insert(v).second) << h;
        EXPECT_LT(v, seed);
        EXPECT_EQ(h.find_first_not_of("0123456789ABCDEF"), std::string::npos) << h;
    }
    const std::set<std::string> layers(w.parsed.layers.begin(), w.parsed.layers.end());
    for (const auto& e : w.parsed.entities)
        EXPECT_TRUE(layers.count(e.value(8))) << e.type << " " << e.value(5);
    EXPECT_LE(w.assembly.size(), maxDocumentBytes(assemblySetup(w.drawing)));
}

// Gear 1 on its layer is zahnrad.dxf entity by entity, value by value.
TEST_P(AssemblyWriter, Gear1AsInItsOwnDrawing) {
    const auto mine = onLayer("ZAHNRAD1");
    ASSERT_EQ(mine.size(), w.gear1.entities.size());
    for (std::size_t i = 0; i < mine.size(); ++i) {
        ASSERT_EQ(mine[i].type, w.gear1.entities[i].type) << i;
        for (const int code : {10, 20, 11, 21, 40, 50, 51})
            EXPECT_EQ(mine[i].value(code), w.gear1.entities[i].value(code)) << i << " " << code;
    }
}

// Gear 2 on its layer is zahnrad2.dxf turned by 180 + 180 / z2 degrees and moved to (0, a).
TEST_P(AssemblyWriter, Gear2PlacedFromItsOwnDrawing) {
    const auto mine = onLayer("ZAHNRAD2");
    ASSERT_EQ(mine.size(), w.gear2.entities.size());
    const double a = w.geometry.a;
    const RigidMotion m = gear2Placement(a, GetParam().input.z2);
    const double tol = 1e-12 * a;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        const auto& own = w.gear2.entities[i];
        ASSERT_EQ(mine[i].type, own.type) << i;
        const Point2 p = apply(m, Point2{own.number(10), own.number(20)});
        EXPECT_NEAR(mine[i].number(10), p.x, tol) << i;
        EXPECT_NEAR(mine[i].number(20), p.y, tol) << i;
        if (own.type == "LINE") {
            const Point2 q = apply(m, Point2{own.number(11), own.number(21)});
            EXPECT_NEAR(mine[i].number(11), q.x, tol) << i;
            EXPECT_NEAR(mine[i].number(21), q.y, tol) << i;
        } else {
            EXPECT_EQ(mine[i].value(40), own.value(40));
            EXPECT_NEAR(std::remainder(mine[i].number(50) - own.number(50) - m.degrees, 360.0), 0.0,
                        1e-9);
            EXPECT_NEAR(std::remainder(mine[i].number(51) - own.number(51) - m.degrees, 360.0), 0.0,
                        1e-9);
        }
    }
}

TEST_P(AssemblyWriter, CirclesAxesAndLineOfAction) {
    const GearPairGeometry& g = w.geometry;
    const auto circles = onLayer("TEILKREISE");
    ASSERT_EQ(circles.size(), 4u);
    const double centres[4] = {0, 0, g.a, g.a};
    const double radii[4] = {g.d1 / 2, g.dw1 / 2, g.d2 / 2, g.dw2 / 2};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(circles[i].type, "CIRCLE");
        EXPECT_EQ(circles[i].number(10), 0.0);
        EXPECT_NEAR(circles[i].number(20), centres[i], 1e-14 * g.a);
        EXPECT_NEAR(circles[i].number(40), radii[i], 1e-14 * g.a);
    }
    const auto axes = onLayer("ACHSEN");
    ASSERT_EQ(axes.size(), 5u);
    EXPECT_EQ(axes[4].number(10), 0.0);
    EXPECT_EQ(axes[4].number(20), 0.0);
    EXPECT_EQ(axes[4].number(11), 0.0);
    EXPECT_NEAR(axes[4].number(21), g.a, 1e-14 * g.a);
    const auto action = onLayer("EINGRIFFSLINIE");
    ASSERT_EQ(action.size(), 1u);
    const LineOfAction l = lineOfAction(g.db1 / 2, g.db2 / 2, g.a, g.alphawt);
    EXPECT_NEAR(action[0].number(10), l.t1.x, 1e-14 * g.a);
    EXPECT_NEAR(action[0].number(21), l.t2.y, 1e-14 * g.a);
    // Every point drawn lies within the extents.
    const auto& h = w.parsed.header;
    const double minX = std::stod(h.at("$EXTMIN")[0].second);
    const double minY = std::stod(h.at("$EXTMIN")[1].second);
    const double maxX = std::stod(h.at("$EXTMAX")[0].second);
    const double maxY = std::stod(h.at("$EXTMAX")[1].second);
    const double slack = 1e-12 * g.a;
    for (const auto& e : w.parsed.entities) {
        const double r = e.type == "LINE" ? 0.0 : e.number(40);
        for (const auto& [x, y] : {std::pair{10, 20}, std::pair{11, 21}}) {
            if (e.value(x).empty())
                continue;
            EXPECT_GE(e.number(x) - (e.type == "CIRCLE" ? r : 0), minX - slack) << e.value(5);
            EXPECT_LE(e.number(x) + (e.type == "CIRCLE" ? r : 0), maxX + slack) << e.value(5);
            EXPECT_GE(e.number(y) - (e.type == "CIRCLE" ? r : 0), minY - slack) << e.value(5);
            EXPECT_LE(e.number(y) + (e.type == "CIRCLE" ? r : 0), maxY + slack) << e.value(5);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, AssemblyWriter,
    testing::Values(AssemblyCase{"initial", GearPairInput{}},
                    AssemblyCase{"spur", GearPairInput{20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 4}},
                    AssemblyCase{"pointed", GearPairInput{4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5}},
                    AssemblyCase{"helical", GearPairInput{40, 61, 2.0, 20.0, 15.0, 0.3, -0.2, 3}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MeshReport, LabelsAndSixDigits) {
    MeshCheck check{0.1, 0.10744568567414886, 0.10783004, 0.109054582, 0.479550778, 0.5, {}};
    EXPECT_EQ(formatMeshReport(60.44, check),
              "Achsabstand a=60.44\n"
              "Flankenspiel jn (vorgegeben)=0.1\n"
              "Verdrehflankenspiel jt soll=0.107446\n"
              "Verdrehflankenspiel jt min=0.10783\n"
              "Verdrehflankenspiel jt max=0.109055\n"
              "Kopfspiel c1=0.479551\n"
              "Kopfspiel c2=0.5\n"
              "Eingriffsstoerung=keine\n");
    check.jtMin = check.jtMax = std::nan("");
    check.c2 = -0.012345678;
    check.interferencePhi1 = 21.333333333;
    const std::string text = formatMeshReport(60.44, check);
    EXPECT_NE(text.find("jt min=nan\nVerdrehflankenspiel jt max=nan\n"), std::string::npos);
    EXPECT_NE(text.find("Kopfspiel c2=-0.0123457\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("Eingriffsstoerung=bei phi1=21.3333\n"));
    EXPECT_LE(text.size(), maxMeshReportBytes());
}

}  // namespace
}  // namespace kellvor
