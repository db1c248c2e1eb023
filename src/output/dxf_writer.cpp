#include "output/dxf_writer.h"

#include <cstring>
#include <string_view>

#include "output/dxf_entity.h"

namespace kellvor {
namespace {

constexpr std::string_view kHeader = "  0\nSECTION\n  2\nENTITIES\n";
constexpr std::string_view kFooter = "0\nENDSEC\n0\nEOF\n";

// One polyline point as the drawing writes it. Each inner point ends one LINE and starts the
// next, so its text is made once and copied.
struct PointText {
    char x[kMaxRealChars];
    char y[kMaxRealChars];
    std::size_t xSize = 0;
    std::size_t ySize = 0;

    void set(Point2 p) {
        xSize = static_cast<std::size_t>(formatReal(x, p.x, kDrawingPrecision) - x);
        ySize = static_cast<std::size_t>(formatReal(y, p.y, kDrawingPrecision) - y);
    }
};

// Copies a real's text by its whole buffer, a fixed-size copy that needs no call, and moves on
// by its length; the room reserved per entity covers the bytes copied beyond.
char* putReal(char* p, const char (&text)[kMaxRealChars], std::size_t size) {
    std::memcpy(p, text, kMaxRealChars);
    return p + size;
}

char* putLine(char* p, std::int64_t handle, const PointText& from, const PointText& to) {
    p = put(p, kLineStart);
    p = put(p, kEntityProperties);
    p = putHandle(p, handle);
    p = put(p, kLineToStartX);
    p = putReal(p, from.x, from.xSize);
    p = put(p, kLineToStartY);
    p = putReal(p, from.y, from.ySize);
    p = put(p, kLineToEndX);
    p = putReal(p, to.x, to.xSize);
    p = put(p, kLineToEndY);
    p = putReal(p, to.y, to.ySize);
    return put(p, kLineEnd);
}

constexpr std::uint64_t maxLineBytes(std::uint64_t handleChars) {
    return kLineStart.size() + kEntityProperties.size() + handleChars + kLineToStartX.size() +
           kLineToStartY.size() + kLineToEndX.size() + kLineToEndY.size() + kLineEnd.size() +
           4 * kMaxDrawingRealChars;
}

}  // namespace

DxfOutlineWriter::DxfOutlineWriter(ByteSink& sink, BackgroundWriter* background)
    : m_buffer(sink, background), m_nextHandle(kFirstHandle) {}

bool DxfOutlineWriter::open() {
    m_buffer.append(kHeader);
    m_nextHandle = kFirstHandle;
    return m_buffer.ok();
}

bool DxfOutlineWriter::writeTooth(const OutlineTooth& tooth) {
    const auto points = tooth.points();
    if (!points.empty()) {
        PointText text[2];
        text[0].set(points[0]);
        for (std::size_t j = 1; j < points.size(); ++j) {
            const PointText& from = text[(j - 1) & 1];
            PointText& to = text[j & 1];
            to.set(points[j]);
            // The tip land of a pointed tooth has no length: no entity, but its handle is used
            // up, so that every other entity keeps its number (and the trace its count).
            const bool noLength = points[j] == points[j - 1];
            const std::int64_t handle = m_nextHandle++;
            if (noLength)
                continue;
            char* p = m_buffer.reserve(kEntityReserve);
            m_buffer.commit(putLine(p, handle, from, to));
        }
    }
    char* p = m_buffer.reserve(kEntityReserve);
    m_buffer.commit(putArc(p, m_nextHandle++, tooth, kDrawingPrecision));
    return m_buffer.ok();
}

bool DxfOutlineWriter::close() {
    m_buffer.append(kFooter);
    return m_buffer.finish();
}

std::uint64_t maxDrawingBytes(std::int64_t z1, std::int64_t pointCount) {
    if (z1 <= 0 || pointCount <= 0)
        return kHeader.size() + kFooter.size();
    const auto teeth = static_cast<std::uint64_t>(z1);
    const auto n = static_cast<std::uint64_t>(pointCount);
    const std::uint64_t handleChars =
        decimalDigits(static_cast<std::uint64_t>(kFirstHandle) + teeth * n);
    return kHeader.size() + kFooter.size() +
           teeth * ((n - 1) * maxLineBytes(handleChars) +
                    maxArcBytes(handleChars, kMaxDrawingRealChars));
}

}  // namespace kellvor
