#include "preview/antialiased_painter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "geometry/constants.h"

namespace kellvor {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlue{0, 0, 255};

RgbImage white(std::int32_t w, std::int32_t h) {
    return makeRgbImage(w, h, kWhite);
}

// How far a pixel went from white toward blue, 0 .. 255.
int inked(const RgbImage& image, std::int32_t x, std::int32_t y) {
    return 255 - pixelAt(image, x, y).r;
}

TEST(AntialiasedPainter, LineOnPixelCentresIsOnePixelWide) {
    RgbImage image = white(64, 24);
    AntialiasedPainter painter(image);
    painter.beginStroke(kBlue);
    painter.line(Point2{5.0, 10.0}, Point2{50.0, 10.0});
    painter.endStroke();
    for (std::int32_t x = 5; x <= 50; ++x) {
        EXPECT_EQ(pixelAt(image, x, 10), kBlue) << x;
        EXPECT_EQ(pixelAt(image, x, 9), kWhite) << x;
        EXPECT_EQ(pixelAt(image, x, 11), kWhite) << x;
    }
    // Half a pixel off the centres it covers two rows half each.
    RgbImage half = white(64, 24);
    AntialiasedPainter halfPainter(half);
    halfPainter.beginStroke(kBlue);
    halfPainter.line(Point2{5.0, 10.5}, Point2{50.0, 10.5});
    halfPainter.endStroke();
    EXPECT_EQ(inked(half, 20, 10), 128);
    EXPECT_EQ(inked(half, 20, 11), 128);
    EXPECT_EQ(inked(half, 20, 12), 0);
}

// Within one stroke a pixel takes the largest coverage of its parts: a polyline of many short
// collinear pieces is the single segment, its joints no darker.
TEST(AntialiasedPainter, JointsOfAStrokeDoNotDarken) {
    RgbImage one = white(80, 80);
    RgbImage many = white(80, 80);
    AntialiasedPainter a(one), b(many);
    const Point2 from{3.3, 7.1}, to{71.9, 52.4};
    a.beginStroke(kBlue);
    a.line(from, to);
    a.endStroke();
    b.beginStroke(kBlue);
    for (int i = 0; i < 100; ++i) {
        const double s = i / 100.0, t = (i + 1) / 100.0;
        b.line(Point2{from.x + s * (to.x - from.x), from.y + s * (to.y - from.y)},
               Point2{from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)});
    }
    b.endStroke();
    int differing = 0;
    for (std::size_t i = 0; i < one.rgb.size(); ++i)
        differing += std::abs(one.rgb[i] - many.rgb[i]) > 1;
    EXPECT_EQ(differing, 0);
}

// A circle about a pixel centre is symmetric both ways, and only its sweep of an arc is drawn
// (y down: from +x toward +y is the lower right quarter on the screen).
TEST(AntialiasedPainter, CircleSymmetricArcWithinItsSweep) {
    RgbImage image = white(61, 61);
    AntialiasedPainter painter(image);
    painter.beginStroke(kBlue);
    painter.arc(Point2{30.0, 30.0}, 17.3, 0.0, 2 * kPi);
    painter.endStroke();
    for (std::int32_t y = 0; y < 61; ++y)
        for (std::int32_t x = 0; x < 61; ++x) {
            ASSERT_NEAR(inked(image, x, y), inked(image, 60 - x, y), 1) << x << " " << y;
            ASSERT_NEAR(inked(image, x, y), inked(image, x, 60 - y), 1) << x << " " << y;
            const double d = std::fabs(std::hypot(x - 30.0, y - 30.0) - 17.3);
            if (d >= 1) {
                ASSERT_EQ(inked(image, x, y), 0);
            }
            if (d < 0.4) {
                ASSERT_GT(inked(image, x, y), 128);
            }
        }
    RgbImage quarter = white(61, 61);
    AntialiasedPainter q(quarter);
    q.beginStroke(kBlue);
    q.arc(Point2{30.0, 30.0}, 17.3, 0.0, kPi / 2);
    q.endStroke();
    for (std::int32_t y = 0; y < 61; ++y)
        for (std::int32_t x = 0; x < 61; ++x)
            if (x < 29 || y < 29) {
                ASSERT_EQ(inked(quarter, x, y), 0) << x << " " << y;
            }
    EXPECT_GT(inked(quarter, 42, 42), 0);
}

// Coordinates far outside or not a number cost no more than the picture and paint nothing
// outside it.
TEST(AntialiasedPainter, FarAndInvalidCoordinatesAreClipped) {
    RgbImage image = white(40, 30);
    AntialiasedPainter painter(image);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    painter.beginStroke(kBlue);
    painter.line(Point2{-1e15, 5.0}, Point2{1e15, 5.0});
    painter.arc(Point2{20.0, 1e9}, 1e9 - 20.0, 0.0, 2 * kPi);
    painter.line(Point2{nan, 3.0}, Point2{4.0, nan});
    painter.arc(Point2{nan, nan}, 5.0, 0.0, 1.0);
    painter.endStroke();
    EXPECT_EQ(pixelAt(image, 20, 5), kBlue);
    EXPECT_EQ(pixelAt(image, 20, 20), kBlue);
    EXPECT_EQ(pixelAt(image, 20, 12), kWhite);
}

}  // namespace
}  // namespace kellvor
