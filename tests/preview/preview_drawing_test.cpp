#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"
#include "outline/flank_profile.h"
#include "outline/generated_root.h"
#include "outline/point.h"
#include "outline/root_arc.h"
#include "preview/preview_drawing.h"
#include "support/approximate_profile.h"
#include "support/printed.h"

namespace kellvor {

// Readable operations in failure messages.
void PrintTo(const DrawOp& op, std::ostream* out) {
    *out << op;
}

namespace {

using test::printed;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The worked examples' profile (the older flank formula), its fitted arc and its input.
struct ExampleOutline {
    GearPairInput input;
    GearPairGeometry geometry;
    FlankProfile profile;
    RootArc arc;
};

ExampleOutline exampleOutline(std::int32_t z1, std::int32_t segmentCount = 10) {
    ExampleOutline e;
    e.input.z1 = z1;
    e.input.segmentCount = segmentCount;
    e.geometry = computeGearPairGeometry(e.input);
    e.profile = test::buildApproximateFlankProfile(e.geometry, e.input.x1, segmentCount);
    const std::optional<RootArc> fit = fitRootArc(e.profile, e.geometry.rf1, z1);
    EXPECT_TRUE(fit);
    e.arc = fit.value_or(RootArc{});
    return e;
}

constexpr ClientRect kDialogFrame{0, 0, 208, 194};

std::vector<DrawOp> opsOfTooth(const PreviewDrawing& d, std::int32_t tooth, std::int32_t n) {
    const auto first = d.ops.begin() + 1 + tooth * (n + 1);
    return {first, first + n + 1};
}

struct PixelCase {
    const char* name;
    double value;
    std::int32_t expected;
};

class ToPixel : public testing::TestWithParam<PixelCase> {};

TEST_P(ToPixel, TruncatesTowardZeroAndSaturates) {
    EXPECT_EQ(toPixel(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToPixel,
    testing::Values(PixelCase{"PositiveFraction", 194.52, 194},
                    PixelCase{"NegativeFraction", -0.99, 0},
                    PixelCase{"NegativeBeyondOne", -1.5, -1},
                    PixelCase{"JustBelowTopOfRange", 2147483647.9, kMax},
                    PixelCase{"TopOfRangePlusOne", 2147483648.0, kMax},
                    PixelCase{"Huge", 1e300, kMax},
                    PixelCase{"PlusInfinity", std::numeric_limits<double>::infinity(), kMax},
                    PixelCase{"JustAboveBottomOfRange", -2147483648.9, kMin},
                    PixelCase{"BottomOfRangeMinusOne", -2147483649.0, kMin},
                    PixelCase{"MinusInfinity", -std::numeric_limits<double>::infinity(), kMin},
                    PixelCase{"NotANumber", std::numeric_limits<double>::quiet_NaN(), kMin}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BuildPreviewDrawing, InitialValuesBoxScaleAndOrigin) {
    const ExampleOutline e = exampleOutline(17);
    EXPECT_EQ(e.profile.count(), 22);
    const std::optional<OutlineBox> box = computeOutlineBox(e.profile, 17);
    ASSERT_TRUE(box);
    EXPECT_EQ(printed(box->minX, 8), "-80.086217");
    EXPECT_EQ(printed(box->maxX, 8), "80.086217");
    EXPECT_EQ(printed(box->minY, 8), "-79.317704");
    EXPECT_EQ(printed(box->maxY, 8), "80.171463");
    const PreviewMapping m = mapPreview(*box, kDialogFrame);
    EXPECT_EQ(printed(208 / (box->maxX - box->minX), 8), "1.2986005");
    EXPECT_EQ(printed(194 / (box->maxY - box->minY), 8), "1.2163836");
    EXPECT_EQ(m.scale, 194 / (box->maxY - box->minY));
    EXPECT_EQ(m.originX, 104);
    EXPECT_EQ(m.originY, 97);
}

TEST(BuildPreviewDrawing, InitialValuesOperations) {
    ExampleOutline e = exampleOutline(17);
    const PreviewDrawing d = buildPreviewDrawing(e.profile, e.arc, 17, kDialogFrame);
    ASSERT_EQ(d.ops.size(), 392u);
    const std::vector<DrawOp> first25 = {
        rectangleOp(0, 0, 208, 194), moveToOp(95, 177),
        lineToOp(95, 178),           lineToOp(95, 180),
        lineToOp(95, 182),           lineToOp(96, 183),
        lineToOp(96, 185),           lineToOp(97, 187),
        lineToOp(98, 189),           lineToOp(98, 191),
        lineToOp(99, 192),           lineToOp(100, 194),
        lineToOp(107, 194),          lineToOp(108, 192),
        lineToOp(109, 191),          lineToOp(109, 189),
        lineToOp(110, 187),          lineToOp(111, 185),
        lineToOp(111, 183),          lineToOp(112, 182),
        lineToOp(112, 180),          lineToOp(112, 178),
        lineToOp(112, 177),          arcOp(112, 171, 125, 184, 124, 174, 112, 177),
        moveToOp(124, 174)};
    EXPECT_EQ(std::vector<DrawOp>(d.ops.begin(), d.ops.begin() + 25), first25);
    EXPECT_EQ(d.ops.back(), arcOp(82, 171, 95, 184, 95, 177, 83, 174));
}

TEST(BuildPreviewDrawing, TipOnTheBottomEdgeStaysOnIt) {
    // The tip points map to y = 194.52: their integer part equals H and is not pulled in.
    ExampleOutline e = exampleOutline(17);
    const PreviewMapping m = mapPreview(*computeOutlineBox(e.profile, 17), kDialogFrame);
    EXPECT_EQ(printed(m.originY + e.profile.points[10].y * m.scale, 5), "194.52");
    const PreviewDrawing d = buildPreviewDrawing(e.profile, e.arc, 17, kDialogFrame);
    EXPECT_EQ(d.ops[11], lineToOp(100, 194));
    EXPECT_EQ(d.ops[12], lineToOp(107, 194));
}

TEST(BuildPreviewDrawing, FiveTeethTipPulledOntoLastRow) {
    ExampleOutline e = exampleOutline(5);
    const std::optional<OutlineBox> box = computeOutlineBox(e.profile, 5);
    ASSERT_TRUE(box);
    EXPECT_EQ(printed(box->minX, 8), "-28.211586");
    EXPECT_EQ(printed(box->maxX, 8), "28.211586");
    EXPECT_EQ(printed(box->minY, 8), "-24.666654");
    EXPECT_EQ(printed(box->maxY, 8), "28.994972");
    const PreviewMapping m = mapPreview(*box, kDialogFrame);
    EXPECT_EQ(printed(m.scale, 8), "3.6152464");
    EXPECT_EQ(m.scale, 194 / (box->maxY - box->minY));
    // The four profile points nearest the tip, before the limit.
    const auto mappedY = [&](int i) {
        return printed(m.originY + e.profile.points[i].y * m.scale);
    };
    EXPECT_EQ(mappedY(9), "197.217");
    EXPECT_EQ(mappedY(12), "197.217");
    EXPECT_EQ(mappedY(10), "201.824");
    EXPECT_EQ(mappedY(11), "201.824");

    const PreviewDrawing d = buildPreviewDrawing(e.profile, e.arc, 5, kDialogFrame);
    const std::vector<DrawOp> tooth0 = {
        moveToOp(80, 153),  lineToOp(79, 157),  lineToOp(80, 161),  lineToOp(80, 166),
        lineToOp(82, 171),  lineToOp(83, 176),  lineToOp(85, 181),  lineToOp(87, 187),
        lineToOp(90, 192),  lineToOp(93, 193),  lineToOp(96, 193),  lineToOp(111, 193),
        lineToOp(114, 193), lineToOp(117, 192), lineToOp(120, 187), lineToOp(122, 181),
        lineToOp(124, 176), lineToOp(125, 171), lineToOp(127, 166), lineToOp(127, 161),
        lineToOp(128, 157), lineToOp(127, 153)};
    const std::vector<DrawOp> drawn = opsOfTooth(d, 0, 22);
    EXPECT_EQ(std::vector<DrawOp>(drawn.begin(), drawn.end() - 1), tooth0);
    EXPECT_EQ(drawn.back().kind, DrawOpKind::arc);
}

TEST(BuildPreviewDrawing, ThirteenTeethCloseOnTheFirstPoint) {
    ExampleOutline e = exampleOutline(13);
    const PreviewDrawing d = buildPreviewDrawing(e.profile, e.arc, 13, kDialogFrame);
    ASSERT_EQ(d.ops.size(), 1u + 13u * 23u);
    int moves = 0;
    int arcs = 0;
    for (const DrawOp& op : d.ops) {
        moves += op.kind == DrawOpKind::moveTo;
        arcs += op.kind == DrawOpKind::arc;
    }
    EXPECT_EQ(moves, 13);
    EXPECT_EQ(arcs, 13);
    // Thirteen additions of the pitch angle fall just short of a whole turn.
    double phi = 0.0;
    for (int k = 0; k < 13; ++k)
        phi = phi + 360.0 / 13;
    EXPECT_EQ(printed(phi, 16), "359.9999999999999");
    // The last arc starts where the first tooth started, and every other arc where the next
    // tooth starts: the picture is one closed contour.
    for (std::int32_t k = 0; k < 13; ++k) {
        const DrawOp arc = opsOfTooth(d, k, 22).back();
        const DrawOp nextMove = opsOfTooth(d, (k + 1) % 13, 22).front();
        EXPECT_EQ(arc.args[4], nextMove.args[0]) << "tooth " << k;
        EXPECT_EQ(arc.args[5], nextMove.args[1]) << "tooth " << k;
    }
}

// The root circle about the gear centre runs the other way: its arc starts where the tooth's
// last line ends and ends where the next tooth starts (counter-clockwise on the screen, where
// the drawing's clockwise shows as counter-clockwise).
TEST(BuildPreviewDrawing, GeneratedRootArcsRunFromToothToNextTooth) {
    const GearPairInput in{13, 40, 2.0, 20.0, 15.0, 0.0, 0.0, 6};
    const GearPairGeometry g = computeGearPairGeometry(in);
    const GeneratedRoot root = buildGeneratedRoot(in, g);
    const std::int32_t n = root.profile.count();
    const PreviewDrawing d =
        buildPreviewDrawing(root.profile, root.arc, 13, ClientRect{0, 0, 800, 800});
    ASSERT_EQ(d.ops.size(), 1u + 13u * static_cast<std::size_t>(n + 1));
    for (std::int32_t k = 0; k < 13; ++k) {
        const std::vector<DrawOp> ops = opsOfTooth(d, k, n);
        const DrawOp arc = ops.back();
        const DrawOp lastLine = ops[ops.size() - 2];
        const DrawOp nextMove = opsOfTooth(d, (k + 1) % 13, n).front();
        ASSERT_EQ(arc.kind, DrawOpKind::arc);
        EXPECT_EQ(arc.args[4], lastLine.args[0]) << "tooth " << k;
        EXPECT_EQ(arc.args[5], lastLine.args[1]) << "tooth " << k;
        EXPECT_EQ(arc.args[6], nextMove.args[0]) << "tooth " << k;
        EXPECT_EQ(arc.args[7], nextMove.args[1]) << "tooth " << k;
        // The bounding square of the root circle about the centre of the picture.
        EXPECT_NEAR(arc.args[0] + arc.args[2], 800, 1);
    }
}

TEST(BuildPreviewDrawing, NoSegmentsJoinsTheTwoFlankEnds) {
    ExampleOutline e = exampleOutline(17, 0);
    ASSERT_EQ(e.profile.count(), 2);
    const PreviewDrawing d = buildPreviewDrawing(e.profile, e.arc, 17, kDialogFrame);
    ASSERT_EQ(d.ops.size(), 1u + 17u * 3u);
    const PreviewMapping m = mapPreview(*computeOutlineBox(e.profile, 17), kDialogFrame);
    double phi = 0.0;
    for (std::int32_t k = 0; k < 17; ++k) {
        const Rotation r = clockwiseRotation(phi);
        const Point2 from = turn(r, e.profile.points[1]);
        const Point2 to = turn(r, e.profile.points[0]);
        const std::vector<DrawOp> tooth = opsOfTooth(d, k, 2);
        EXPECT_EQ(tooth[0], moveToOp(toPixel(m.originX + from.x * m.scale),
                                     toPixel(m.originY + from.y * m.scale)));
        EXPECT_EQ(tooth[1], lineToOp(toPixel(m.originX + to.x * m.scale),
                                     toPixel(m.originY + to.y * m.scale)));
        EXPECT_EQ(tooth[2].kind, DrawOpKind::arc);
        phi = phi + 360.0 / 17;
    }
}

// Two points (1, 4) and (-1, 4), four teeth, 200 x 200: the box is -4..4 on both axes, the scale
// 25 and the origin (100, 100). The teeth at 180 and 270 degrees reach the top and left edges
// (pixel 0) and are drawn there, not pulled to the centre line.
TEST(BuildPreviewDrawing, PointsOnTheTopAndLeftEdgesStayThere) {
    FlankProfile profile;
    profile.points = {Point2{1, 4}, Point2{-1, 4}};
    const ClientRect frame{0, 0, 200, 200};
    const PreviewMapping m = mapPreview(*computeOutlineBox(profile, 4), frame);
    EXPECT_EQ(m.scale, 25);
    EXPECT_EQ(m.originX, 100);
    EXPECT_EQ(m.originY, 100);

    RootArc arc{0, 3, 1};
    const PreviewDrawing d = buildPreviewDrawing(profile, arc, 4, frame);
    ASSERT_EQ(d.ops.size(), 1u + 4u * 3u);
    const auto polyline = [&](std::int32_t k) {
        const std::vector<DrawOp> ops = opsOfTooth(d, k, 2);
        return std::vector<DrawOp>(ops.begin(), ops.end() - 1);
    };
    EXPECT_EQ(polyline(0), (std::vector<DrawOp>{moveToOp(75, 200), lineToOp(125, 200)}));
    EXPECT_EQ(polyline(1), (std::vector<DrawOp>{moveToOp(200, 125), lineToOp(200, 75)}));
    EXPECT_EQ(polyline(2), (std::vector<DrawOp>{moveToOp(125, 0), lineToOp(75, 0)}));
    // cos 270 degrees is -1.8e-16, not 0: y lands a hair below 75 and 125 and truncates down.
    EXPECT_EQ(polyline(3), (std::vector<DrawOp>{moveToOp(0, 74), lineToOp(0, 124)}));
}

TEST(BuildPreviewDrawing, PointsBeyondRightAndBottomEdgesArePulledInArcsAreNot) {
    FlankProfile profile;
    profile.points = {Point2{10, 10}, Point2{-1, -1}};
    RootArc arc{20, 20, 5};
    const PreviewDrawing d = buildPreviewDrawing(profile, arc, 1, ClientRect{0, 0, 10, 10});
    // Box -1..10 on both axes: scale 10/11, origin (5, 5); point 0 maps to (14.09, 14.09).
    const double scale = 10.0 / 11;
    ASSERT_EQ(d.ops.size(), 4u);
    EXPECT_EQ(d.ops[1], moveToOp(4, 4));
    EXPECT_EQ(d.ops[2], lineToOp(9, 9));
    EXPECT_EQ(d.ops[3].args[2], toPixel(5 + 25 * scale));
    EXPECT_EQ(d.ops[3].args[3], toPixel(5 + 25 * scale));
    EXPECT_EQ(d.ops[3].args[6], 14);
    EXPECT_EQ(d.ops[3].args[7], 14);
}

TEST(BuildPreviewDrawing, ProgressCountsBothWalksAndCancels) {
    ExampleOutline e = exampleOutline(17);
    std::vector<std::int64_t> seen;
    std::int64_t ops = 0;
    EXPECT_TRUE(buildPreviewDrawing(
        e.profile, e.arc, 17, kDialogFrame, [&](const DrawOp&) { ++ops; },
        [&](std::int64_t done, std::int64_t total) {
            EXPECT_EQ(total, 34);
            seen.push_back(done);
            return true;
        }));
    ASSERT_EQ(seen.size(), 34u);
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], static_cast<std::int64_t>(i) + 1);
    EXPECT_EQ(ops, 392);

    // Stopped after the third tooth of the drawing walk: nothing more is drawn.
    ops = 0;
    EXPECT_FALSE(buildPreviewDrawing(
        e.profile, e.arc, 17, kDialogFrame, [&](const DrawOp&) { ++ops; },
        [&](std::int64_t done, std::int64_t) { return done < 17 + 3; }));
    EXPECT_EQ(ops, 1 + 3 * 23);

    // Stopped in the box walk: only the background is drawn.
    ops = 0;
    EXPECT_FALSE(buildPreviewDrawing(
        e.profile, e.arc, 17, kDialogFrame, [&](const DrawOp&) { ++ops; },
        [](std::int64_t done, std::int64_t) { return done < 5; }));
    EXPECT_EQ(ops, 1);
}

TEST(BuildPreviewDrawing, ManyTeethStreamInToothOrder) {
    ExampleOutline e = exampleOutline(200000);
    std::int64_t count = 0;
    std::int64_t misplaced = 0;
    buildPreviewDrawing(e.profile, e.arc, 200000, kDialogFrame, [&](const DrawOp& op) {
        // Rectangle, then per tooth MoveTo, 21 LineTo, Arc.
        const std::int64_t place = count == 0 ? -1 : (count - 1) % 23;
        const DrawOpKind expected = place == -1   ? DrawOpKind::rectangle
                                    : place == 0  ? DrawOpKind::moveTo
                                    : place == 22 ? DrawOpKind::arc
                                                  : DrawOpKind::lineTo;
        misplaced += op.kind != expected;
        ++count;
    });
    EXPECT_EQ(misplaced, 0);
    EXPECT_EQ(count, 1 + 200000LL * 23);
}

TEST(BuildPreviewDrawing, ReversedClientRectIsNormalised) {
    ExampleOutline e = exampleOutline(17);
    const PreviewDrawing straight = buildPreviewDrawing(e.profile, e.arc, 17, kDialogFrame);
    const PreviewDrawing reversed =
        buildPreviewDrawing(e.profile, e.arc, 17, ClientRect{208, 194, 0, 0});
    EXPECT_EQ(straight.ops, reversed.ops);
}

TEST(DrawOp, PrintsAsACall) {
    std::ostringstream out;
    out << rectangleOp(0, 0, 208, 194) << ' ' << moveToOp(1, -2) << ' ' << lineToOp(3, 4) << ' '
        << arcOp(1, 2, 3, 4, 5, 6, 7, 8);
    EXPECT_EQ(out.str(),
              "Rectangle(0, 0, 208, 194) MoveTo(1, -2) LineTo(3, 4) "
              "Arc(1, 2, 3, 4, 5, 6, 7, 8)");
}

}  // namespace
}  // namespace kellvor
