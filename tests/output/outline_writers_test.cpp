#include <gtest/gtest.h>

#include <optional>

#include <algorithm>
#include <string>
#include <vector>

#include "output/block_buffer.h"
#include "output/dxf_entity.h"
#include "output/dxf_writer.h"
#include "output/output_test_util.h"
#include "output/trace_writer.h"
#include "support/approximate_profile.h"
#include "support/golden.h"

namespace kellvor {
namespace {

using test::slice;
using test::splitLines;

using Lines = std::vector<std::string>;

// The spur example through the older flank formula, with which the worked drawing and trace
// numbers were computed.
const test::WrittenOutline& spurApproximate() {
    static const test::WrittenOutline written = [] {
        const GearPairInput in = test::spurExample();
        const GearPairGeometry g = computeGearPairGeometry(in);
        return test::writeOutline(test::buildApproximateFlankProfile(g, in.x1, in.segmentCount), g,
                                  in.z1);
    }();
    return written;
}

Lines lineEntity(const std::string& handle, const std::string& x0, const std::string& y0,
                 const std::string& x1, const std::string& y1) {
    return {"0", "LINE", "  8", "0",   "  6", "CONTINUOUS", " 62", "     7", "  5", handle, " 10",
            x0,  "20",   y0,    " 30", "0.0", " 11",        x1,    " 21",    y1,    " 31",  "0.0"};
}

Lines arcEntity(const std::string& handle, const std::string& cx, const std::string& cy,
                const std::string& r, const std::string& start, const std::string& end) {
    return {"0", "ARC", "  8", "0",  "  6", "CONTINUOUS", " 62", "     7", "  5", handle, " 10",
            cx,  "20",  cy,    "30", "0.0", " 40",        r,     "50",     start, "51",   end};
}

TEST(DxfOutlineWriter, SpurExampleHasTheWorkedEntities) {
    const std::string& text = spurApproximate().drawing;
    const Lines l = splitLines(text);
    ASSERT_EQ(l.size(), 4408u);
    EXPECT_EQ(slice(l, 0, 4), (Lines{"  0", "SECTION", "  2", "ENTITIES"}));
    EXPECT_EQ(slice(l, 4, 22), lineEntity("27", "-1.75617650779671", "18.4665975730372",
                                          "-1.67139076412234", "19.3109571914217"));
    EXPECT_EQ(slice(l, 4 + 9 * 22, 22),
              arcEntity("36", "2.91968690883323", "18.4341776430228", "1.16396198614145",
                        "178.403929471787", "343.596070528213"));
    EXPECT_EQ(slice(l, 4 + 10 * 22, 10)[1], "LINE");
    EXPECT_EQ(slice(l, 4 + 10 * 22, 10)[9], "37");
    EXPECT_EQ(slice(l, l.size() - 4, 4), (Lines{"0", "ENDSEC", "0", "EOF"}));
    // Last tooth (turned by 342 degrees): its arc angles come from 19 subtractions of the pitch.
    EXPECT_EQ(slice(l, l.size() - 4 - 22, 22)[19], "196.403929471787");
    EXPECT_EQ(slice(l, l.size() - 4 - 22, 22)[21], "1.59607052821315");
    EXPECT_EQ(text.find('\r'), std::string::npos);
    test::expectMatchesGolden("dxf_spur_example_approximate.dxf", text);
}

TEST(DxfOutlineWriter, SpurExampleCountsAndHandlesWithoutGap) {
    const Lines l = splitLines(spurApproximate().drawing);
    int lines = 0, arcs = 0;
    std::int64_t expectedHandle = 27;
    for (std::size_t e = 4; e + 22 <= l.size() - 4; e += 22) {
        lines += l[e + 1] == "LINE";
        arcs += l[e + 1] == "ARC";
        ASSERT_EQ(l[e], "0");
        ASSERT_EQ(l[e + 8], "  5");
        ASSERT_EQ(l[e + 9], std::to_string(expectedHandle++));
        // Tooth k has 9 LINEs and then its ARC.
        const bool arcSlot = (expectedHandle - 27) % 10 == 0;
        ASSERT_EQ(l[e + 1], arcSlot ? "ARC" : "LINE");
    }
    EXPECT_EQ(lines, 180);
    EXPECT_EQ(arcs, 20);
    EXPECT_EQ(expectedHandle - 1, 226);
}

TEST(OutlineTraceWriter, SpurExampleHasTheWorkedLines) {
    const std::string& text = spurApproximate().trace;
    const Lines l = splitLines(text);
    ASSERT_EQ(l.size(), 640u);
    EXPECT_EQ(slice(l, 0, 10),
              (Lines{"-1.75618 18.4666", "-1.67139 19.311", "-1.44429 20.1927", "-1.11465 21.0814",
                     "-0.69488 21.9561", "0.69488 21.9561", "1.11465 21.0814", "1.44429 20.1927",
                     "1.67139 19.311", "1.75618 18.4666"}));
    EXPECT_EQ(slice(l, 10, 22),
              arcEntity("37", "2.91969", "18.4342", "1.16396", "178.404", "343.596"));
    EXPECT_EQ(l[32], "4.03627 18.1055");
    const Lines last = slice(l, l.size() - 22, 22);
    EXPECT_EQ(last[9], "227");
    EXPECT_EQ(last[19], "196.404");
    EXPECT_EQ(last[21], "1.59607");
    for (std::size_t k = 0; k < 20; ++k)
        EXPECT_EQ(l[k * 32 + 10 + 9], std::to_string(37 + 10 * k)) << "tooth " << k;
    EXPECT_EQ(text.find('\r'), std::string::npos);
    test::expectMatchesGolden("trace_spur_example_approximate.txt", text);
}

// One tooth, filled in by hand, with values whose text is known.
OutlineTooth handTooth(std::int32_t index, std::int32_t pointCount) {
    OutlineTooth t;
    t.index = index;
    t.polyline.resize(static_cast<std::size_t>(pointCount));
    for (std::int32_t i = 0; i < pointCount; ++i)
        t.polyline[static_cast<std::size_t>(i)] = Point2{i * 0.5, -0.25 * i};
    t.arcCentreX = 1e-5;
    t.arcCentreY = 1234567890123456.0;
    t.arcRadius = 2.0;
    t.arcStartAngle = 180.0;
    t.arcEndAngle = 0.0;
    return t;
}

TEST(DxfOutlineWriter, IntegralRealsHaveNoPointAndExponentsTwoDigits) {
    StringSink sink;
    DxfOutlineWriter w(sink);
    w.open();
    w.writeTooth(handTooth(0, 2));
    w.close();
    const Lines l = splitLines(sink.text());
    EXPECT_EQ(slice(l, 4, 22), lineEntity("27", "0", "-0", "0.5", "-0.25"));
    EXPECT_EQ(slice(l, 26, 22), arcEntity("28", "1e-05", "1.23456789012346e+15", "2", "180", "0"));
}

// segmentCount 0: two points per tooth, so one LINE and one ARC each, in alternation, and the
// trace's handles step by two.
TEST(OutlineWriters, TwoPointTeethAlternateLineAndArc) {
    StringSink dxfSink, traceSink;
    DxfOutlineWriter dxf(dxfSink);
    OutlineTraceWriter trace(traceSink);
    dxf.open();
    trace.open();
    for (std::int32_t k = 0; k < 5; ++k) {
        dxf.writeTooth(handTooth(k, 2));
        trace.writeTooth(handTooth(k, 2));
    }
    dxf.close();
    trace.close();
    const Lines d = splitLines(dxfSink.text());
    ASSERT_EQ(d.size(), 8u + 22 * 5 * 2);
    for (std::size_t e = 0; e < 10; ++e) {
        EXPECT_EQ(d[4 + 22 * e + 1], e % 2 == 0 ? "LINE" : "ARC");
        EXPECT_EQ(d[4 + 22 * e + 9], std::to_string(27 + e));
    }
    EXPECT_EQ(dxf.nextHandle(), 37);
    const Lines t = splitLines(traceSink.text());
    ASSERT_EQ(t.size(), 5u * (2 + 22));
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_EQ(t[24 * k + 2 + 9], std::to_string(27 + 2 * (k + 1)));
}

// A pointed tooth's tip land has no length: the drawing leaves that LINE out but uses up its
// handle, so every later entity keeps its number; the trace still lists every point.
TEST(OutlineWriters, PointedTipHasNoLineButKeepsTheHandles) {
    OutlineTooth t = handTooth(0, 4);
    t.polyline[2] = t.polyline[1];
    StringSink dxfSink, traceSink;
    DxfOutlineWriter dxf(dxfSink);
    OutlineTraceWriter trace(traceSink);
    dxf.open();
    dxf.writeTooth(t);
    trace.writeTooth(t);
    dxf.close();
    trace.close();
    const Lines d = splitLines(dxfSink.text());
    ASSERT_EQ(d.size(), 8u + 22 * 3);
    EXPECT_EQ(slice(d, 4, 22), lineEntity("27", "0", "-0", "0.5", "-0.25"));
    EXPECT_EQ(slice(d, 26, 22), lineEntity("29", "0.5", "-0.25", "1.5", "-0.75"));
    EXPECT_EQ(d[48 + 1], "ARC");
    EXPECT_EQ(d[48 + 9], "30");
    EXPECT_EQ(dxf.nextHandle(), 31);
    EXPECT_EQ(splitLines(traceSink.text()).size(), 4u + 22);
}

// The trace's number is computed in 64 bits: the last tooth of the largest gear with the
// largest profile lies far beyond the 32-bit range.
TEST(OutlineTraceWriter, HandlesBeyondThirtyTwoBits) {
    StringSink sink;
    OutlineTraceWriter trace(sink);
    trace.writeTooth(handTooth(2147483646, 1000));
    trace.close();
    const Lines l = splitLines(sink.text());
    ASSERT_EQ(l.size(), 1022u);
    EXPECT_EQ(l[1000 + 9], "2147483647027");
}

// Counts the calls a writer makes, so that per-line flushing shows.
class CountingSink final : public ByteSink {
  public:
    bool write(const char* data, std::size_t size) override {
        m_text.append(data, size);
        m_largest = std::max(m_largest, size);
        ++m_calls;
        return true;
    }
    std::error_code error() const override { return {}; }
    const std::string& text() const { return m_text; }
    int calls() const { return m_calls; }
    std::size_t largest() const { return m_largest; }

  private:
    std::string m_text;
    int m_calls = 0;
    std::size_t m_largest = 0;
};

TEST(OutlineWriters, BytesLeaveInLargeBlocks) {
    const GearPairInput in{400, 40, 2.0, 20.0, 10.0, 0.1, 0.0, 60};
    const GearPairGeometry g = computeGearPairGeometry(in);
    const FlankProfile profile = buildFlankProfile(g, in.x1, in.segmentCount);
    CountingSink dxfSink, traceSink;
    DxfOutlineWriter dxf(dxfSink);
    OutlineTraceWriter trace(traceSink);
    const std::optional<RootArc> arcFit = fitRootArc(profile, g.rf1, in.z1);
    ASSERT_TRUE(arcFit);
    const RootArc arc = *arcFit;
    dxf.open();
    walkGearOutline(profile, arc, in.z1, [&](const OutlineTooth& t) {
        return trace.writeTooth(t) && dxf.writeTooth(t);
    });
    ASSERT_TRUE(dxf.close());
    ASSERT_TRUE(trace.close());
    for (const CountingSink* s : {&dxfSink, &traceSink}) {
        const std::size_t blocks = s->text().size() / (kBlockBytes - kEntityReserve) + 1;
        EXPECT_LE(static_cast<std::size_t>(s->calls()), blocks);
        EXPECT_LE(s->largest(), kBlockBytes);
    }
    EXPECT_LE(dxfSink.text().size(), maxDrawingBytes(in.z1, profile.count()));
    EXPECT_LE(traceSink.text().size(), maxTraceBytes(in.z1, profile.count()));
}

TEST(OutlineWriters, FailingSinkIsReportedAndNotCalledAgain) {
    const GearPairInput in{300, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 100};
    const GearPairGeometry g = computeGearPairGeometry(in);
    const FlankProfile profile = buildFlankProfile(g, in.x1, in.segmentCount);
    test::FailingSink dxfSink(3 * kBlockBytes / 2), traceSink(kBlockBytes / 3);
    DxfOutlineWriter dxf(dxfSink);
    OutlineTraceWriter trace(traceSink);
    const std::optional<RootArc> arcFit = fitRootArc(profile, g.rf1, in.z1);
    ASSERT_TRUE(arcFit);
    const RootArc arc = *arcFit;
    dxf.open();
    int dxfFailedAt = -1, traceFailedAt = -1;
    walkGearOutline(profile, arc, in.z1, [&](const OutlineTooth& t) {
        if (!dxf.writeTooth(t) && dxfFailedAt < 0)
            dxfFailedAt = t.index;
        if (!trace.writeTooth(t) && traceFailedAt < 0)
            traceFailedAt = t.index;
        return true;
    });
    EXPECT_FALSE(dxf.close());
    EXPECT_FALSE(trace.close());
    EXPECT_GT(dxfFailedAt, 0);
    EXPECT_GT(traceFailedAt, 0);
    EXPECT_EQ(dxfSink.error(), std::errc::no_space_on_device);
    EXPECT_EQ(dxfSink.callsAfterFailure(), 0);
    EXPECT_EQ(traceSink.callsAfterFailure(), 0);
}

TEST(OutlineWriters, UpperBoundsGrowWithTeethInSixtyFourBits) {
    EXPECT_GT(maxDrawingBytes(2147483647, 1000), 2147483647ull * 999 * 180);
    EXPECT_GT(maxTraceBytes(2147483647, 1000), 2147483647ull * 1000 * 10);
    EXPECT_LT(maxDrawingBytes(20, 10), 200u * 200);
}

}  // namespace
}  // namespace kellvor
