#include "outline/contour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace kellvor {
namespace {

constexpr double kTol = 1e-12;

ContourElement seg(double x0, double y0, double x1, double y1) {
    return segmentElement({x0, y0}, {x1, y1});
}

// The arc of the circle about (cx, cy) with radius r from angle a0 to a1 (degrees), ccw.
ContourElement arc(double cx, double cy, double r, double a0, double a1, bool ccw = true) {
    const double d = 0.017453292519943295;
    return arcElement({cx, cy}, r, {cx + r * std::cos(a0 * d), cy + r * std::sin(a0 * d)},
                      {cx + r * std::cos(a1 * d), cy + r * std::sin(a1 * d)}, ccw);
}

// Two elements and the points where they meet, worked out by hand.
struct MeetCase {
    const char* name;
    ContourElement a;
    ContourElement b;
    std::vector<Point2> points;
    bool overlap = false;
};

void PrintTo(const MeetCase& c, std::ostream* os) {
    *os << c.name;
}

class MeetElements : public testing::TestWithParam<MeetCase> {};

TEST_P(MeetElements, FindsTheWorkedPoints) {
    const MeetCase& c = GetParam();
    for (const bool swapped : {false, true}) {
        const ElementMeeting m =
            swapped ? meetElements(c.b, c.a, kTol) : meetElements(c.a, c.b, kTol);
        ASSERT_EQ(m.count, c.points.size()) << (swapped ? "swapped" : "");
        EXPECT_EQ(m.overlap, c.overlap);
        for (const Point2 expected : c.points) {
            bool found = false;
            for (std::size_t i = 0; i < m.count; ++i)
                found |= std::hypot(m.points[i].x - expected.x, m.points[i].y - expected.y) < 1e-9;
            EXPECT_TRUE(found) << expected.x << ", " << expected.y;
        }
    }
}

const double kS = std::sqrt(0.5);

const MeetCase kMeetCases[] = {
    {"segmentsCross", seg(0, 0, 2, 2), seg(0, 2, 2, 0), {{1, 1}}},
    {"segmentsMissShort", seg(0, 0, 0.9, 0.9), seg(0, 2, 2, 0), {}},
    {"segmentsTouchAtEnd", seg(0, 0, 1, 1), seg(1, 1, 2, 0), {{1, 1}}},
    {"segmentsParallel", seg(0, 0, 2, 0), seg(0, 1, 2, 1), {}},
    {"segmentsOverlap", seg(0, 0, 2, 0), seg(1, 0, 3, 0), {{1, 0}, {2, 0}}, true},
    {"segmentsCollinearApart", seg(0, 0, 1, 0), seg(2, 0, 3, 0), {}},
    {"pointOnSegment", seg(1, 0, 1, 0), seg(0, 0, 2, 0), {{1, 0}}},
    {"segmentThroughArc",
     seg(-2, 0.5, 2, 0.5),
     arc(0, 0, 1, 0, 180),
     {{-std::sqrt(0.75), 0.5}, {std::sqrt(0.75), 0.5}}},
    {"segmentThroughArcOnce",
     seg(-2, 0.5, 2, 0.5),
     arc(0, 0, 1, -90, 90),
     {{std::sqrt(0.75), 0.5}}},
    {"segmentMissesArcSweep", seg(-2, -0.5, 2, -0.5), arc(0, 0, 1, 0, 180), {}},
    {"segmentTangentToArc", seg(-2, 1, 2, 1), arc(0, 0, 1, 0, 180), {{0, 1}}},
    {"segmentEndsInsideCircle", seg(0, 0, 0.5, 0), arc(0, 0, 1, -90, 90), {}},
    {"clockwiseArc",
     seg(-2, 0.5, 2, 0.5),
     arc(0, 0, 1, 180, 0, false),
     {{-std::sqrt(0.75), 0.5}, {std::sqrt(0.75), 0.5}}},
    {"clockwiseArcOtherHalf", seg(-2, 0.5, 2, 0.5), arc(0, 0, 1, 0, 180, false), {}},
    {"arcsCross", arc(0, 0, 1, 0, 180), arc(1, 0, 1, 0, 180), {{0.5, std::sqrt(0.75)}}},
    {"arcsMissBySweep", arc(0, 0, 1, 180, 360), arc(1, 0, 1, 0, 180), {}},
    {"arcsTouchOutside", arc(0, 0, 1, -90, 90), arc(2, 0, 1, 90, 270), {{1, 0}}},
    {"arcsApart", arc(0, 0, 1, 0, 360 - 1e-9), arc(3, 0, 1, 0, 180), {}},
    {"arcsNested", arc(0, 0, 2, 0, 180), arc(0, 0.1, 1, 0, 180), {}},
    {"arcsOfOneCircleOverlap",
     arc(0, 0, 1, 0, 90),
     arc(0, 0, 1, 45, 135),
     {{kS, kS}, {1e-17, 1}},
     true},
    {"arcsOfOneCircleApart", arc(0, 0, 1, 0, 45), arc(0, 0, 1, 90, 135), {}},
};

INSTANTIATE_TEST_SUITE_P(Table, MeetElements, testing::ValuesIn(kMeetCases),
                         [](const auto& row) { return std::string(row.param.name); });

// A square drawn as four segments, one corner rounded by a quarter arc.
std::vector<ContourElement> roundedSquare() {
    return {seg(0, 0, 2, 0), seg(2, 0, 2, 1), arc(1, 1, 1, 0, 90), seg(1, 2, 0, 2),
            seg(0, 2, 0, 0)};
}

TEST(FindContourCrossing, SimpleContoursPass) {
    EXPECT_FALSE(findContourCrossing(roundedSquare(), kTol));
    // A zero-length element between two others is skipped: its neighbours share its end.
    std::vector<ContourElement> withPoint = roundedSquare();
    withPoint.insert(withPoint.begin() + 1, seg(2, 0, 2, 0));
    EXPECT_FALSE(findContourCrossing(withPoint, kTol));
}

TEST(FindContourCrossing, FindsCrossingsAndTouches) {
    // A bow tie: the two diagonals cross.
    const std::vector<ContourElement> bowTie = {seg(0, 0, 2, 2), seg(2, 2, 2, 0), seg(2, 0, 0, 2),
                                                seg(0, 2, 0, 0)};
    const auto crossing = findContourCrossing(bowTie, kTol);
    ASSERT_TRUE(crossing);
    EXPECT_EQ(crossing->first, 0u);
    EXPECT_EQ(crossing->second, 2u);
    EXPECT_NEAR(crossing->at.x, 1, 1e-12);
    // A contour that runs back along itself (a spike) overlaps its neighbour.
    const std::vector<ContourElement> spike = {seg(0, 0, 2, 0), seg(2, 0, 1, 0), seg(1, 0, 1, 1),
                                               seg(1, 1, 0, 0)};
    EXPECT_TRUE(findContourCrossing(spike, kTol));
    // Two non-neighbours that only touch also break a simple contour.
    const std::vector<ContourElement> pinched = {seg(0, 0, 2, 0),   seg(2, 0, 1, 1),
                                                 seg(1, 1, 2, 2),   seg(2, 2, 0, 2),
                                                 seg(0, 2, 1, 1.0), seg(1, 1, 0, 0)};
    EXPECT_TRUE(findContourCrossing(pinched, kTol));
}

TEST(FindChainCrossing, TestsOnlyPairsWithTheFocus) {
    // Elements 2 and 4 cross; element 0 is far from both.
    const std::vector<ContourElement> chain = {seg(-5, 0, -4, 0), seg(-4, 0, 0, 0), seg(0, 0, 2, 2),
                                               seg(2, 2, 2, 0), seg(2, 0, 0, 2)};
    EXPECT_TRUE(findChainCrossing(chain, kTol, 2, 3));
    EXPECT_FALSE(findChainCrossing(chain, kTol, 0, 1));
    // The open chain's ends are no neighbours of each other, but they do not touch either.
    EXPECT_FALSE(findChainCrossing(chain, kTol, 0, 2));
}

}  // namespace
}  // namespace kellvor

namespace kellvor {
namespace {

// The crossing test written as the plain double loop over all pairs, with the same rules for
// neighbours: the reference for the sweep.
std::optional<ContourCrossing> crossingByEveryPair(const std::vector<ContourElement>& elements,
                                                   double tolerance, bool closed,
                                                   std::size_t focusBegin, std::size_t focusEnd) {
    // The random contours have no elements without length: every one is kept.
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < elements.size(); ++i)
        kept.push_back(i);
    const std::size_t n = kept.size();
    const auto inFocus = [&](std::size_t i) { return i >= focusBegin && i < focusEnd; };
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            if (!inFocus(kept[i]) && !inFocus(kept[j]))
                continue;
            const ContourElement& a = elements[kept[i]];
            const ElementMeeting m = meetElements(a, elements[kept[j]], tolerance);
            for (std::size_t k = 0; k < m.count; ++k) {
                const Point2 p = m.points[k];
                const bool atEnd = std::hypot(p.x - a.end.x, p.y - a.end.y) <= 4 * tolerance;
                const bool atStart = std::hypot(p.x - a.start.x, p.y - a.start.y) <= 4 * tolerance;
                if (!m.overlap && j == i + 1 && atEnd)
                    continue;
                if (!m.overlap && closed && i == 0 && j == n - 1 && n > 2 && atStart)
                    continue;
                return ContourCrossing{kept[i], kept[j], p};
            }
        }
    }
    return std::nullopt;
}

// A closed contour around the origin through `count` points at random radii, every third side
// an arc bulging in or out; large radius changes make it cross itself now and then.
std::vector<ContourElement> randomContour(std::mt19937& random, std::size_t count, double wobble) {
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<Point2> points;
    for (std::size_t i = 0; i < count; ++i) {
        const double a = 6.283185307179586 * (static_cast<double>(i) + 0.8 * unit(random)) /
                         static_cast<double>(count);
        const double r = 1 + wobble * (unit(random) - 0.5);
        points.push_back({r * std::cos(a), r * std::sin(a)});
    }
    std::vector<ContourElement> elements;
    for (std::size_t i = 0; i < count; ++i) {
        const Point2 a = points[i];
        const Point2 b = points[(i + 1) % count];
        if (i % 3 != 2) {
            elements.push_back(segmentElement(a, b));
            continue;
        }
        // The circle through a and b whose centre lies off the chord's midpoint.
        const Point2 mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
        const double off = 2 * (unit(random) - 0.5);
        const Point2 c{mid.x - (b.y - a.y) * off, mid.y + (b.x - a.x) * off};
        elements.push_back(
            arcElement(c, std::hypot(a.x - c.x, a.y - c.y), a, b, unit(random) < 0.5));
    }
    return elements;
}

TEST(FindContourCrossing, SweepFindsTheSamePairAsEveryPair) {
    std::mt19937 random(7);
    int crossed = 0;
    for (int trial = 0; trial < 1000; ++trial) {
        const auto elements = randomContour(random, 6 + static_cast<std::size_t>(trial % 40),
                                            trial % 2 == 0 ? 0.2 : 1.2);
        const auto swept = findContourCrossing(elements, kTol);
        const auto plain = crossingByEveryPair(elements, kTol, true, 0, elements.size());
        ASSERT_EQ(swept.has_value(), plain.has_value()) << trial;
        if (swept) {
            ASSERT_EQ(swept->first, plain->first) << trial;
            ASSERT_EQ(swept->second, plain->second) << trial;
            ++crossed;
        }
        const std::size_t focus = static_cast<std::size_t>(trial) % elements.size();
        const auto chain = findChainCrossing(elements, kTol, focus, focus + 2);
        const auto chainPlain = crossingByEveryPair(elements, kTol, false, focus, focus + 2);
        ASSERT_EQ(chain.has_value(), chainPlain.has_value()) << trial;
        if (chain) {
            ASSERT_EQ(chain->first, chainPlain->first) << trial;
            ASSERT_EQ(chain->second, chainPlain->second) << trial;
        }
    }
    // Both outcomes were tried often.
    EXPECT_GT(crossed, 200);
    EXPECT_LT(crossed, 800);
}

}  // namespace
}  // namespace kellvor
