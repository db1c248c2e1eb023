#include "output/cam_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "output/assembly_writer.h"
#include "output/dxf_test_util.h"
#include "output/output_test_util.h"

namespace kellvor {
namespace {

std::string camDrawingOf(const GearOutline& o, std::string_view layer) {
    StringSink sink;
    CamDrawingWriter writer(sink);
    writer.open(camGearSetup(o, layer));
    walkGearOutline(o.profile, o.arc, o.z,
                    [&](const OutlineTooth& tooth) { return writer.writeTooth(tooth); });
    EXPECT_TRUE(writer.close());
    return sink.text();
}

// One vertex as read: its point and bulge.
struct ReadVertex {
    double x = 0, y = 0, bulge = 0;
};

// The vertices of the polyline on layer, checking the POLYLINE ... SEQEND frame around them.
std::vector<ReadVertex> polylineOn(const test::ParsedDxf& dxf, const std::string& layer) {
    std::vector<ReadVertex> out;
    bool open = false;
    int polylines = 0;
    for (const auto& e : dxf.entities) {
        if (e.value(8) != layer)
            continue;
        if (e.type == "POLYLINE") {
            EXPECT_FALSE(open);
            EXPECT_EQ(e.value(66), "     1");
            EXPECT_EQ(e.value(70), "     1");  // closed
            open = true;
            ++polylines;
        } else if (e.type == "VERTEX") {
            EXPECT_TRUE(open);
            const std::string b = e.value(42);
            out.push_back({e.number(10), e.number(20), b.empty() ? 0.0 : std::stod(b)});
        } else {
            EXPECT_EQ(e.type, "SEQEND");
            open = false;
        }
    }
    EXPECT_EQ(polylines, 1) << layer;
    EXPECT_FALSE(open);
    return out;
}

// The vertices the walk asks for: every turned point that differs from the one before, the last
// of each tooth with its root arc's bulge tan(sweep / 4), negative where the contour runs
// clockwise along the arc.
std::vector<ReadVertex> expectedVertices(const GearOutline& o) {
    std::vector<ReadVertex> out;
    walkGearOutline(o.profile, o.arc, o.z, [&](const OutlineTooth& t) {
        for (std::size_t i = 0; i < t.polyline.size(); ++i)
            if (i == 0 || t.polyline[i] != t.polyline[i - 1])
                out.push_back({t.polyline[i].x, t.polyline[i].y, 0.0});
        const double sweep = std::remainder(t.arcEndAngle - t.arcStartAngle - 180.0, 360.0) + 180.0;
        out.back().bulge = (t.arcClockwise ? -1 : 1) * std::tan(sweep * M_PI / 720.0);
        return true;
    });
    return out;
}

void expectHandlesUnique(const test::ParsedDxf& dxf) {
    const std::uint64_t seed = std::stoull(dxf.header.at("$HANDSEED")[0].second, nullptr, 16);
    std::set<std::uint64_t> seen;
    for (const std::string& h : dxf.handles) {
        const std::uint64_t v = std::stoull(h, nullptr, 16);
        EXPECT_TRUE(seen.insert(v).second) << h;
        EXPECT_LT(v, seed) << h;
    }
}

class CamDrawing : public testing::TestWithParam<test::RootCase> {};

// Each gear's drawing: an R12 document in millimetres with the gear's layer, one closed
// polyline through every point of the walk, the root arcs as bulges, extents around it all.
TEST_P(CamDrawing, OneClosedPolylineThroughTheWalk) {
    const GearOutline o = test::outlineWithRoot(GetParam().input, GetParam().root);
    const std::string text = camDrawingOf(o, kGear1Layer);
    const test::ParsedDxf dxf = test::parseDxf(text);
    ASSERT_TRUE(dxf.wellFormed);
    EXPECT_EQ(dxf.header.at("$ACADVER")[0].second, "AC1009");
    EXPECT_EQ(dxf.header.at("$INSUNITS")[0].second, "     4");
    EXPECT_EQ(dxf.layers, (std::vector<std::string>{"0", "ZAHNRAD1"}));
    expectHandlesUnique(dxf);
    EXPECT_LE(text.size(), maxDocumentBytes(camGearSetup(o, kGear1Layer)));

    const std::vector<ReadVertex> read = polylineOn(dxf, "ZAHNRAD1");
    const std::vector<ReadVertex> expected = expectedVertices(o);
    ASSERT_EQ(read.size(), expected.size());
    const auto extent = [&](const char* name, int code) {
        return std::stod(dxf.header.at(name)[code == 10 ? 0 : 1].second);
    };
    const double tol = 1e-14 * o.profile.tipRadius;
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_NEAR(read[i].x, expected[i].x, tol) << i;
        EXPECT_NEAR(read[i].y, expected[i].y, tol) << i;
        EXPECT_NEAR(read[i].bulge, expected[i].bulge, 1e-14) << i;
        EXPECT_GE(read[i].x, extent("$EXTMIN", 10));
        EXPECT_GE(read[i].y, extent("$EXTMIN", 20));
        EXPECT_LE(read[i].x, extent("$EXTMAX", 10));
        EXPECT_LE(read[i].y, extent("$EXTMAX", 20));
    }
}

// The assembly in the CAM style: each gear one closed polyline on its layer, gear 1's as in its
// own drawing, gear 2's its own drawing's placed at (0, a) with the same bulges.
TEST_P(CamDrawing, AssemblyHasOnePolylinePerGear) {
    const GearPairInput& in = GetParam().input;
    const GearOutline g1 = test::outlineWithRoot(in, GetParam().root);
    const GearOutline g2 = test::outlineWithRoot(swappedInput(in), GetParam().root);
    const GearPairGeometry geometry = computeGearPairGeometry(in);
    const AssemblyDrawing drawing = assemblyDrawing(geometry, in.mn, g1, g2, DxfStyle::cam);
    StringSink sink;
    DxfDocumentWriter doc(sink);
    ASSERT_TRUE(writeAssembly(doc, drawing));
    EXPECT_LE(sink.text().size(), maxDocumentBytes(assemblySetup(drawing)));
    const test::ParsedDxf dxf = test::parseDxf(sink.text());
    expectHandlesUnique(dxf);
    const std::vector<ReadVertex> own1 =
        polylineOn(test::parseDxf(camDrawingOf(g1, kGear1Layer)), "ZAHNRAD1");
    const std::vector<ReadVertex> own2 =
        polylineOn(test::parseDxf(camDrawingOf(g2, kGear2Layer)), "ZAHNRAD2");
    const std::vector<ReadVertex> placed1 = polylineOn(dxf, "ZAHNRAD1");
    const std::vector<ReadVertex> placed2 = polylineOn(dxf, "ZAHNRAD2");
    ASSERT_EQ(placed1.size(), own1.size());
    ASSERT_EQ(placed2.size(), own2.size());
    for (std::size_t i = 0; i < own1.size(); ++i) {
        EXPECT_EQ(placed1[i].x, own1[i].x);
        EXPECT_EQ(placed1[i].y, own1[i].y);
        EXPECT_EQ(placed1[i].bulge, own1[i].bulge);
    }
    const RigidMotion m = gear2Placement(geometry.a, in.z2);
    for (std::size_t i = 0; i < own2.size(); ++i) {
        const Point2 p = apply(m, Point2{own2[i].x, own2[i].y});
        EXPECT_NEAR(placed2[i].x, p.x, 1e-12 * geometry.a) << i;
        EXPECT_NEAR(placed2[i].y, p.y, 1e-12 * geometry.a) << i;
        EXPECT_NEAR(placed2[i].bulge, own2[i].bulge, 1e-14) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Gears, CamDrawing,
    testing::Values(test::RootCase{"spur", test::spurExample(), RootForm::threePointArc},
                    test::RootCase{"initial_generated", GearPairInput{}, RootForm::generated},
                    test::RootCase{"pointed", GearPairInput{4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5},
                                   RootForm::threePointArc},
                    test::RootCase{"pointed_generated",
                                   GearPairInput{6, 9, 3.0, 20.0, 30.0, 0.5, 0.5, 9},
                                   RootForm::generated},
                    test::RootCase{"undercut", GearPairInput{8, 30, 1.0, 10.0, 0.0, 0.0, 0.0, 4},
                                   RootForm::generated},
                    test::RootCase{"no_segments",
                                   GearPairInput{30, 31, 1.0, 10.0, 25.0, -0.5, 0.2, 0},
                                   RootForm::threePointArc}),
    [](const testing::TestParamInfo<test::RootCase>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace kellvor
