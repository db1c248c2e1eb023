#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "preview/preview_drawing.h"
#include "preview/preview_raster.h"

namespace kellvor {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The image as rows of text: '.' untouched (black), '#' pen (blue), 'o' brush (white).
std::vector<std::string> picture(const RgbImage& image) {
    std::vector<std::string> rows;
    for (std::int32_t y = 0; y < image.height; ++y) {
        std::string row;
        for (std::int32_t x = 0; x < image.width; ++x) {
            const Rgb c = pixelAt(image, x, y);
            row += c == Rgb{} ? '.' : c == kPreviewPen ? '#' : c == kPreviewBrush ? 'o' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> paint(std::int32_t width, std::int32_t height, std::vector<DrawOp> ops) {
    RgbImage image = makeRgbImage(width, height);
    paintDrawing(PreviewDrawing{std::move(ops)}, image);
    return picture(image);
}

struct RasterCase {
    const char* name;
    std::vector<DrawOp> ops;
    std::vector<std::string> expected;  // the whole image, one string per row
};

void PrintTo(const RasterCase& c, std::ostream* out) {
    *out << c.name;
}

class PaintOps : public testing::TestWithParam<RasterCase> {};

TEST_P(PaintOps, PaintsTheHandCheckedPixels) {
    const RasterCase& c = GetParam();
    const auto height = static_cast<std::int32_t>(c.expected.size());
    const auto width = static_cast<std::int32_t>(c.expected.front().size());
    EXPECT_EQ(paint(width, height, c.ops), c.expected);
}

// Lines exclude their end pixel; a tie of the minor coordinate rounds toward the line's start.
INSTANTIATE_TEST_SUITE_P(
    Lines, PaintOps,
    testing::Values(RasterCase{"HorizontalRight",
                               {moveToOp(1, 2), lineToOp(5, 2)},
                               {"........", "........", ".####...", "........", "........"}},
                    RasterCase{"HorizontalLeft",
                               {moveToOp(5, 2), lineToOp(1, 2)},
                               {"........", "........", "..####..", "........", "........"}},
                    RasterCase{"VerticalDown",
                               {moveToOp(3, 0), lineToOp(3, 4)},
                               {"...#....", "...#....", "...#....", "...#....", "........"}},
                    RasterCase{"Diagonal",
                               {moveToOp(0, 0), lineToOp(3, 3)},
                               {"#.......", ".#......", "..#.....", "........", "........"}},
                    RasterCase{"ShallowTieRoundsTowardStart",
                               {moveToOp(0, 0), lineToOp(4, 1)},
                               {"###.....", "...#....", "........", "........", "........"}},
                    RasterCase{"ShallowReversed",
                               {moveToOp(4, 1), lineToOp(0, 0)},
                               {".#......", "..###...", "........", "........", "........"}},
                    RasterCase{"Steep",
                               {moveToOp(1, 0), lineToOp(2, 5)},
                               {".#......", ".#......", ".#......", "..#.....", "..#....."}},
                    RasterCase{"PolylineSharesCorner",
                               {moveToOp(0, 1), lineToOp(3, 1), lineToOp(3, 4)},
                               {"........", "####....", "...#....", "...#....", "........"}},
                    RasterCase{"ZeroLengthDrawsNothing",
                               {moveToOp(2, 2), lineToOp(2, 2)},
                               {"........", "........", "........", "........", "........"}},
                    RasterCase{"FarOutsideHorizontal",
                               {moveToOp(-1000000000, 3), lineToOp(1000000000, 3)},
                               {"........", "........", "........", "########", "........"}},
                    RasterCase{"WholeRangeDiagonal",
                               {moveToOp(kMin, kMin), lineToOp(kMax, kMax)},
                               {"#.......", ".#......", "..#.....", "...#....", "....#..."}},
                    // Almost the diagonal from the far corner: 2 i S at the image is about 2^64.
                    RasterCase{"WholeRangeNearDiagonal",
                               {moveToOp(kMin, kMin + 1), lineToOp(kMax, kMax)},
                               {"#.......", ".#......", "..#.....", "...#....", "....#..."}},
                    RasterCase{"WholeRangeHalfSlope",
                               {moveToOp(kMin, -1073741824), lineToOp(2147483646, 1073741823)},
                               {"##......", "..##....", "....##..", "......##", "........"}},
                    RasterCase{"MoveOnlyDrawsNothing",
                               {moveToOp(-5, -5), moveToOp(3, 3)},
                               {"........", "........", "........", "........", "........"}}),
    [](const auto& row) { return std::string(row.param.name); });

// The frame runs along columns left and right - 1 and rows top and bottom - 1.
INSTANTIATE_TEST_SUITE_P(
    Rectangles, PaintOps,
    testing::Values(RasterCase{"Inside",
                               {rectangleOp(1, 1, 6, 5)},
                               {"........", ".#####..", ".#ooo#..", ".#ooo#..", ".#####.."}},
                    RasterCase{"Reversed",
                               {rectangleOp(6, 5, 1, 1)},
                               {"........", ".#####..", ".#ooo#..", ".#ooo#..", ".#####.."}},
                    RasterCase{"OverTheTopLeftCorner",
                               {rectangleOp(-2, -2, 3, 3)},
                               {"oo#.....", "oo#.....", "###.....", "........", "........"}},
                    RasterCase{"OneColumn",
                               {rectangleOp(2, 1, 3, 4)},
                               {"........", "..#.....", "..#.....", "..#.....", "........"}},
                    RasterCase{"Empty",
                               {rectangleOp(2, 1, 2, 4)},
                               {"........", "........", "........", "........", "........"}},
                    RasterCase{"WholeRange",
                               {rectangleOp(kMin, kMin, kMax, kMax)},
                               {"oooooooo", "oooooooo", "oooooooo", "oooooooo", "oooooooo"}},
                    RasterCase{"LinesOverBackground",
                               {rectangleOp(0, 0, 8, 5), moveToOp(1, 2), lineToOp(6, 2)},
                               {"########", "#oooooo#", "######o#", "#oooooo#", "########"}}),
    [](const auto& row) { return std::string(row.param.name); });

// Arcs run counter-clockwise on the screen from the start ray to the end ray.
INSTANTIATE_TEST_SUITE_P(
    Arcs, PaintOps,
    testing::Values(RasterCase{"UpperRightQuarter",
                               {arcOp(0, 0, 8, 8, 8, 4, 4, 0)},
                               {"....##...", "......##.", ".......#.", "........#", "........#",
                                ".........", ".........", ".........", "........."}},
                    RasterCase{"LowerLeftQuarterFromFarRays",
                               {arcOp(0, 0, 8, 8, -100, 4, 4, 1000)},
                               {".........", ".........", ".........", ".........", "#........",
                                "#........", ".#.......", ".##......", "...##...."}},
                    RasterCase{"ArcLeavesCurrentPosition",
                               {moveToOp(0, 0), arcOp(0, 0, 8, 8, 8, 4, 4, 0), lineToOp(2, 0)},
                               {"##..##...", "......##.", ".......#.", "........#", "........#",
                                ".........", ".........", ".........", "........."}},
                    // A circle of radius 10^9 whose rightmost point is (8, 4): inside the image it
                    // is column 8, and drawing it costs no more than the image.
                    RasterCase{"HugeCircleThroughTheImage",
                               {arcOp(-2000000000, -999999996, 8, 1000000004, 0, 0, 0, 0)},
                               {"........#", "........#", "........#", "........#", "........#",
                                "........#", "........#", "........#", "........#"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(RasterPainter, QuarterAndRestMakeTheWholeEllipse) {
    // Equal rays draw the whole ellipse; the quarter and the three quarters that complement it
    // cover it exactly and share only the pixels on the two rays.
    const auto whole = paint(13, 9, {arcOp(0, 0, 12, 8, 12, 4, 12, 4)});
    const auto quarter = paint(13, 9, {arcOp(0, 0, 12, 8, 12, 4, 6, 0)});
    const auto rest = paint(13, 9, {arcOp(0, 0, 12, 8, 6, 0, 12, 4)});
    int shared = 0;
    for (std::size_t y = 0; y < whole.size(); ++y) {
        for (std::size_t x = 0; x < whole[y].size(); ++x) {
            const bool q = quarter[y][x] == '#';
            const bool r = rest[y][x] == '#';
            EXPECT_EQ(whole[y][x] == '#', q || r) << x << ", " << y;
            shared += q && r;
        }
    }
    EXPECT_EQ(shared, 2);
    EXPECT_EQ(quarter[0][6], '#');
    EXPECT_EQ(quarter[4][12], '#');
}

TEST(RasterPainter, EmptyImageTakesNothing) {
    RgbImage image = makeRgbImage(0, 5);
    EXPECT_EQ(image.width, 0);
    EXPECT_TRUE(image.rgb.empty());
    paintDrawing(PreviewDrawing{{rectangleOp(0, 0, 5, 5), moveToOp(0, 0), lineToOp(4, 4),
                                 arcOp(0, 0, 4, 4, 0, 0, 0, 0)}},
                 image);
    EXPECT_TRUE(image.rgb.empty());
}

}  // namespace
}  // namespace kellvor
