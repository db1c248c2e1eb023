#include "output/dxf_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <string>

#include "output/dxf_test_util.h"
#include "output/output_test_util.h"

namespace kellvor {
namespace {

DxfDocumentSetup twoLayers(std::uint64_t maxEntities) {
    DxfDocumentSetup setup;
    setup.layers = {DxfLayer{"KONTUR", 5}, DxfLayer{"HILFSLINIEN", 8}};
    setup.extMin = Point2{-12.5, -3.0};
    setup.extMax = Point2{40.0, 1e-7};
    setup.maxEntities = maxEntities;
    return setup;
}

TEST(DxfDocument, HeaderTablesAndEntities) {
    StringSink sink;
    DxfDocumentWriter doc(sink);
    ASSERT_TRUE(doc.open(twoLayers(3)));
    doc.line(0, Point2{0.0, 1.0}, Point2{-2.5, 1.0 / 3});
    doc.arc(1, Point2{3.0, 4.0}, 5.0, 350.0, 10.0);
    doc.circle(0, Point2{-1.0, 0.0}, 0.25);
    ASSERT_TRUE(doc.close());
    EXPECT_EQ(doc.entityCount(), 3u);

    const test::ParsedDxf dxf = test::parseDxf(sink.text());
    ASSERT_TRUE(dxf.wellFormed);
    using Values = std::vector<std::pair<int, std::string>>;
    EXPECT_EQ(dxf.header.at("$ACADVER"), (Values{{1, "AC1009"}}));
    EXPECT_EQ(dxf.header.at("$INSUNITS"), (Values{{70, "     4"}}));
    EXPECT_EQ(dxf.header.at("$EXTMIN"), (Values{{10, "-12.5"}, {20, "-3"}, {30, "0.0"}}));
    EXPECT_EQ(dxf.header.at("$EXTMAX"), (Values{{10, "40"}, {20, "1e-07"}, {30, "0.0"}}));
    EXPECT_EQ(dxf.layers, (std::vector<std::string>{"0", "KONTUR", "HILFSLINIEN"}));
    ASSERT_EQ(dxf.entities.size(), 3u);
    EXPECT_EQ(dxf.entities[0].type, "LINE");
    EXPECT_EQ(dxf.entities[0].tags, (Values{{5, "7"},
                                            {8, "KONTUR"},
                                            {10, "0"},
                                            {20, "1"},
                                            {30, "0.0"},
                                            {11, "-2.5"},
                                            {21, "0.333333333333333"},
                                            {31, "0.0"}}));
    EXPECT_EQ(dxf.entities[1].type, "ARC");
    EXPECT_EQ(dxf.entities[1].tags, (Values{{5, "8"},
                                            {8, "HILFSLINIEN"},
                                            {10, "3"},
                                            {20, "4"},
                                            {30, "0.0"},
                                            {40, "5"},
                                            {50, "350"},
                                            {51, "10"}}));
    EXPECT_EQ(dxf.entities[2].type, "CIRCLE");
    EXPECT_EQ(dxf.entities[2].value(40), "0.25");
    // Handles: tables and entities, each once, all below the seed.
    const std::uint64_t seed = std::stoull(dxf.header.at("$HANDSEED")[0].second, nullptr, 16);
    EXPECT_EQ(seed, firstEntityHandle(2) + 3);
    std::set<std::uint64_t> seen;
    for (const std::string& h : dxf.handles) {
        const std::uint64_t v = std::stoull(h, nullptr, 16);
        EXPECT_TRUE(seen.insert(v).second) << h;
        EXPECT_LT(v, seed) << h;
    }
    EXPECT_EQ(seen.size(), 3u + 3u + 3u);  // two tables, CONTINUOUS, three layers, three entities
    EXPECT_TRUE(sink.text().ends_with("  0\nENDSEC\n  0\nEOF\n"));
}

// The header is written first and cannot be mended afterwards: an entity on a layer that is not
// in the table, or one more than announced, fails the document; so does a name R12 refuses.
TEST(DxfDocument, BrokenRulesFailTheDocument) {
    {
        StringSink sink;
        DxfDocumentWriter doc(sink);
        ASSERT_TRUE(doc.open(twoLayers(5)));
        doc.line(2, Point2{}, Point2{1.0, 1.0});
        EXPECT_FALSE(doc.close());
        EXPECT_EQ(test::parseDxf(sink.text()).entities.size(), 0u);
    }
    {
        StringSink sink;
        DxfDocumentWriter doc(sink);
        ASSERT_TRUE(doc.open(twoLayers(1)));
        doc.circle(0, Point2{}, 1.0);
        doc.circle(0, Point2{}, 2.0);
        EXPECT_FALSE(doc.close());
        EXPECT_EQ(test::parseDxf(sink.text()).entities.size(), 1u);
    }
    for (const char* name : {"kontur", "", "EIN NAME", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456"}) {
        StringSink sink;
        DxfDocumentWriter doc(sink);
        DxfDocumentSetup setup = twoLayers(1);
        setup.layers[1].name = name;
        EXPECT_FALSE(doc.open(setup)) << name;
    }
}

TEST(DxfDocument, SinkFailureIsReported) {
    test::FailingSink sink(100);
    DxfDocumentWriter doc(sink);
    doc.open(twoLayers(1));
    doc.line(0, Point2{}, Point2{1.0, 2.0});
    EXPECT_FALSE(doc.close());
    EXPECT_EQ(sink.text().size(), 100u);
}

// The bound holds for reals of any length: the longest handles, extents and values.
TEST(DxfDocument, MaxBytesBoundTheDocument) {
    constexpr double kLong = -1.2345678901234567e-300;
    DxfDocumentSetup setup = twoLayers(4000);
    setup.layers[0].name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234";
    setup.extMin = Point2{kLong, kLong};
    setup.extMax = Point2{kLong, kLong};
    StringSink sink;
    DxfDocumentWriter doc(sink);
    ASSERT_TRUE(doc.open(setup));
    for (int i = 0; i < 4000; ++i) {
        if (i % 2 == 0)
            doc.arc(0, Point2{kLong, kLong}, kLong, kLong, kLong);
        else
            doc.line(0, Point2{kLong, kLong},
                     Point2{kLong, std::numeric_limits<double>::quiet_NaN()});
    }
    ASSERT_TRUE(doc.close());
    EXPECT_LE(sink.text().size(), maxDocumentBytes(setup));
    EXPECT_GT(sink.text().size(), maxDocumentBytes(setup) / 2);
}

}  // namespace
}  // namespace kellvor
